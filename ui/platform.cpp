#include "ui/platform.h"

#include <QDir>
#include <QFileInfo>

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
    m_dialogFileName = showSaveDialog(parent, title, filter, QString());
    return m_dialogFileName;
}

QString Platform::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& suggestedName) {
    const QString start = m_dialogFileName.isEmpty()
                              ? suggestedName
                              : QFileInfo(m_dialogFileName).dir().filePath(suggestedName);
    m_dialogFileName = showSaveDialog(parent, title, filter, start);
    return m_dialogFileName;
}

}  // namespace slabrating::ui
