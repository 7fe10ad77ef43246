#pragma once
// The editor's text as the rest of the program sees it: CR LF text with a caret and a selection,
// positions counted in that text. The keyword shorthand and the line cut work on this buffer, so
// they hold for either editor box and can be checked without a window.

#include <QString>

namespace telmaris {

struct EditBuffer {
    QString text;      // lines separated by CR LF
    int selStart = 0;  // caret, or start of the selection
    int selLength = 0; // selected characters, 0 for none
};

// Setting the caret drops any selection; a position beyond the end lands at the end.
void setSelStart(EditBuffer &buffer, int position);
// A selection that would reach beyond the end of the text ends at the end.
void setSelLength(EditBuffer &buffer, int length);
QString selText(const EditBuffer &buffer);
// Replaces the selection (or inserts at the caret); the caret then stands behind the inserted
// text and nothing is selected.
void setSelText(EditBuffer &buffer, const QString &text);

// The keyword shorthand, asked for when the user typed a space. When the character before the
// caret stands alone and is in the completion table, it is replaced and true is returned: the
// space is swallowed. Otherwise nothing changes and the space is to be inserted as usual.
// lineLen is the length of a separator line.
bool completeKeyword(EditBuffer &buffer, int lineLen);

// Ctrl+Y: removes the line under the caret together with its line break and returns the removed
// text, which belongs on the clipboard. The caret ends at the start of the removed line.
QString cutLine(EditBuffer &buffer);

} // namespace telmaris
