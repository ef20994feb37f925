#include "config/PathLabel.h"

#include <QFontMetrics>

namespace vantelo {

PathLabel::PathLabel(QWidget* parent) : QLabel(parent) {}

void PathLabel::setPath(const QString& path)
{
    m_path = path;
    setToolTip(path);
    showPath();
}

void PathLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    showPath();
}

void PathLabel::showPath()
{
    setText(fontMetrics().elidedText(m_path, Qt::ElideLeft, contentsRect().width()));
}

} // namespace vantelo
