#include "FileBoxes.h"

#include "ProblemFile.h"
#include "Toolkit.h"

#include <QFile>
#include <QMimeData>
#include <QUrl>

std::optional<TProblem> ReadProblemOrSay(const QString& Path) {
    try {
        return ReadProblemFile(QFile::encodeName(Path).toStdString());
    } catch (const TFileError& Error) {
        ErrorBox(QString::fromStdString(Error.what()));
        return std::nullopt;
    }
}

bool WriteOrSay(const QString& Path, std::string_view Text) {
    try {
        WriteFileSafely(QFile::encodeName(Path).toStdString(), Text);
        return true;
    } catch (const TFileError& Error) {
        ErrorBox(QString::fromStdString(Error.what()));
        return false;
    }
}

bool OneLocalFile(const QMimeData* Data, QString* Path) {
    const QList<QUrl> Urls = Data->urls();
    if (Urls.size() != 1 || !Urls.front().isLocalFile())
        return false;
    if (Path)
        *Path = Urls.front().toLocalFile();
    return true;
}
