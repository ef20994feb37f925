#pragma once

#include <QLabel>
#include <QList>
#include <QTimer>
#include <QWidget>

namespace vantelo {

// The window's status bar: the panels of layout::StatusPanels side by side, numbered from 1. Text
// panels show what the handlers put in them; the date and time panels keep themselves current.
class StatusBar : public QWidget
{
    Q_OBJECT
public:
    explicit StatusBar(QWidget* parent = nullptr);

    int panelCount() const { return int(m_panels.size()); }
    QString panelText(int panel) const;
    void setPanelText(int panel, const QString& text);
    QString panelToolTip(int panel) const;
    QRect panelRect(int panel) const;

signals:
    void panelClick(int panel);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* panelAt(int panel) const;
    static void showInPanel(QLabel* panel, const QString& text);
    void showClock();

    QList<QLabel*> m_panels;
    QTimer m_clock;
};

} // namespace vantelo
