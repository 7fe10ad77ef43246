#pragma once
// The settings store sees an editor box as its CR LF text.

#include "editor/ScriptEdit.h"
#include "store/ScriptSlots.h"

namespace telmaris {

class EditBoxText : public EditorText {
public:
    explicit EditBoxText(ScriptEdit *edit) : edit_(edit) {}
    QString text() const override { return edit_->crlfText(); }
    void setText(const QString &text) override { edit_->setCrlfText(text); }

private:
    ScriptEdit *edit_;
};

} // namespace telmaris
