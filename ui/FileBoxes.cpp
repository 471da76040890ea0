#include "FileBoxes.h"

#include "ProblemFile.h"
#include "Toolkit.h"

#include <QFile>

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
