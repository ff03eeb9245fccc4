#include "ui/platform.h"

namespace slabrating::ui {

QString Platform::openFileName(QWidget* parent, const QString& filter) {
    const QString path = showOpenDialog(parent, filter, m_dialogFileName);
    if (!path.isEmpty()) {
        m_dialogFileName = path;
    }
    return path;
}

QString Platform::saveFileName(QWidget* parent, const QString& title, const QString& filter) {
    m_dialogFileName.clear();
    m_dialogFileName = showSaveDialog(parent, title, filter);
    return m_dialogFileName;
}

}  // namespace slabrating::ui
