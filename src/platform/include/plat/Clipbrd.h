#pragma once
// The system clipboard: one object per process (Clipboard()), data by format id.
//
// Format ids: CF_TEXT (1, bytes in the ANSI code page), CF_UNICODETEXT (13) and the ids of
// RegisterClipboardFormat. On the system clipboard they travel as MIME types: text as
// "text/plain"; "HTML Format" as "text/html" (the fragment between the block's
// StartFragment and EndFragment byte offsets) together with the whole block under a private
// type; "Rich Text Format" as "text/rtf"; every other registered name under a private
// "application/x-configurator-..." type carrying the bytes.
//
// Open/Close nest. Data set while the clipboard is open is collected and published at the
// outermost Close; SetAsText and SetAsHandle outside Open publish at once. Clear empties
// what the next Close publishes. Open raises EClipboardException "Cannot open clipboard"
// while another holder has the clipboard open (HoldClipboard).
#include <cstdint>
#include <memory>
#include <string>

#include "plat/Exception.h"
#include "plat/String.h"
#include "plat/Messages.h"

namespace plat {

class EClipboardException : public Exception { using Exception::Exception; };

constexpr UINT CF_TEXT = 1;
constexpr UINT CF_UNICODETEXT = 13;

class TClipboard {
public:
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT Format) const;
    // Bytes stored under Format ("" when none).
    std::string GetAsHandle(UINT Format) const;
    void SetAsHandle(UINT Format, std::string Bytes);
    String AsText() const;
    void SetAsText(const String& Text);

private:
    int openCount_ = 0;
};

TClipboard& Clipboard();

// ---- Clipboard of data objects ----------------------------------------------------------
class IDataObject;

// Puts Data on the system clipboard (null empties it) and answers S_OK, or
// CLIPBRD_E_CANT_OPEN while the clipboard is held. The clipboard offers the formats Data
// enumerates, under the MIME types of the format table, and renders each from Data only when
// a reader asks. The clipboard keeps Data until it changes (this or another program sets new
// data) or is flushed; then it lets Data go.
std::int32_t OleSetClipboard(std::shared_ptr<IDataObject> Data);
// The clipboard's data as a data object: the object this process set when it is still there,
// otherwise an object reading the current data. CLIPBRD_E_CANT_OPEN while the clipboard is
// held or unreadable (FailClipboardRead).
std::int32_t OleGetClipboard(std::shared_ptr<IDataObject>& Data);
// Replaces this process's data object on the clipboard by its data rendered now in every
// format it offers, and lets the object go. S_OK also when the clipboard holds other data.
std::int32_t OleFlushClipboard();
// S_OK when Data is the object on the clipboard, S_FALSE otherwise.
std::int32_t OleIsCurrentClipboard(const IDataObject* Data);
// Makes OleGetClipboard fail (true) or work (false), as a clipboard whose data cannot be read.
void FailClipboardRead(bool Fail);

// Marks the clipboard as held open by another program (true) or released (false); while it
// is held, Open raises. Stands for another process keeping the clipboard open.
void HoldClipboard(bool Held);

} // namespace plat
