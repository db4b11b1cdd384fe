#pragma once
// The one table that carries clipboard format ids as MIME types, shared by the clipboard and
// drag and drop (Clipboard.cpp). Text (1, 13) travels as text/plain; a file list (15) and
// "UniformResourceLocator" as text/uri-list; "HTML Format" as text/html (its fragment) plus
// the whole block under a private type; "Rich Text Format" as text/rtf; "CSV" as text/csv;
// every other registered name under a private "application/x-configurator-..." type with
// its bytes.
#include <QMimeData>
#include <QString>

#include <string>
#include <vector>

#include "plat/Messages.h"
#include "plat/String.h"

namespace plat::ui {

QString FormatMimeType(UINT Format);
// Adds the bytes of Format to the MIME data (file lists and URLs join its URL list).
void PutFormat(QMimeData& Mime, UINT Format, const std::string& Bytes);
bool MimeHasFormat(const QMimeData& Mime, UINT Format);
// The bytes of Format as the clipboard and drops hand them out ("" when absent).
std::string MimeFormatBytes(const QMimeData& Mime, UINT Format);
// The formats the MIME data offers, as format ids (registered names found by their type).
std::vector<UINT> MimeOfferedFormats(const QMimeData& Mime);

// A file list block: the names' offset in the first 32-bit field (20), the wide flag in the
// fifth, NUL-ended UTF-16 names ended by an empty name.
std::string MakeDropFilesBlock(const std::vector<String>& Names);
// The names of a block, or false when its offset lies outside it or the list does not end
// inside it (nothing is read past the block).
bool ParseDropFilesBlock(const std::string& Block, std::vector<String>& Names);

} // namespace plat::ui
