// Files as the windows read and write them: a problem file read, or a text written, with what
// goes wrong said in the error box.
#pragma once

#include "Problem.h"

#include <QString>

#include <optional>
#include <string_view>

// The problem in the file at Path; nothing, after an error box that says where and why, when the
// file is refused.
std::optional<TProblem> ReadProblemOrSay(const QString& Path);

// Writes Text to Path, a file already there kept whole on any failure, which an error box then
// names; false after such a failure.
bool WriteOrSay(const QString& Path, std::string_view Text);

class QMimeData;

// True when Data, dragged or dropped, is one local file, whose path then goes to *Path: the
// one kind of drop the windows open.
bool OneLocalFile(const QMimeData* Data, QString* Path = nullptr);
