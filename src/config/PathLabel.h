#pragma once

#include <QLabel>

namespace vantelo {

// A label for a file's path: when the path is wider than the label it shows the end of it, the
// file name and the folders nearest to it, after an ellipsis; the whole path is its tooltip.
class PathLabel : public QLabel
{
    Q_OBJECT
public:
    explicit PathLabel(QWidget* parent = nullptr);

    QString path() const { return m_path; }
    void setPath(const QString& path);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showPath();

    QString m_path;
};

} // namespace vantelo
