#include "ui/platform.h"

#include <QDir>
#include <QFileInfo>

namespace slabrating::ui {

namespace {

// The extension a filter such as "Slab Input File (*.qri)" names: "qri"; empty for none.
QString extensionOf(const QString& filter) {
    const qsizetype start = filter.indexOf(QStringLiteral("(*."));
    const qsizetype end = filter.indexOf(QLatin1Char(')'), start);
    return start < 0 || end < 0 ? QString() : filter.mid(start + 3, end - start - 3);
}

// The chosen path with the filter's extension added where its name has none, as save
// dialogs do: "bridge" is saved as "bridge.qri", which the folder walk and Open then see.
QString withExtension(const QString& path, const QString& filter) {
    const QString extension = extensionOf(filter);
    if (path.isEmpty() || extension.isEmpty() || QFileInfo(path).fileName().contains('.')) {
        return path;
    }
    return path + QLatin1Char('.') + extension;
}

}  // namespace

QString Platform::openFileName(QWidget* parent, const QString& filter) {
    const QString path = showOpenDialog(parent, filter, m_dialogFileName);
    if (!path.isEmpty()) {
        m_dialogFileName = path;
    }
    return path;
}

QString Platform::saveFileName(QWidget* parent, const QString& title, const QString& filter) {
    m_dialogFileName.clear();
    m_dialogFileName = withExtension(showSaveDialog(parent, title, filter, QString()), filter);
    return m_dialogFileName;
}

QString Platform::saveFileName(QWidget* parent, const QString& title, const QString& filter,
                               const QString& suggestedName) {
    const QString start = m_dialogFileName.isEmpty()
                              ? suggestedName
                              : QFileInfo(m_dialogFileName).dir().filePath(suggestedName);
    m_dialogFileName = withExtension(showSaveDialog(parent, title, filter, start), filter);
    return m_dialogFileName;
}

}  // namespace slabrating::ui
