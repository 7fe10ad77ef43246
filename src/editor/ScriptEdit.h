#pragma once
// One editor box of the script page. The window holds two: Edit(0) without word wrap (both
// scroll bars) and Edit(1) with wrap. The rest of the program sees CR LF text and positions
// counted in that text; this class converts to and from the widget's own representation.
// It carries the keyword shorthand (a lone letter or separator character followed by a space)
// and Ctrl+Y (cut the line under the caret to the clipboard).

#include <QPlainTextEdit>

namespace telmaris {

class ScriptEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit ScriptEdit(bool wrap, QWidget *parent = nullptr);
    ~ScriptEdit() override;

    QString crlfText() const;
    void setCrlfText(const QString &text); // emits edited() like any change

    int selStart() const;  // caret, or start of the selection, in CR LF text
    int selLength() const; // selected characters in CR LF text
    QString selText() const;
    void select(int start, int length); // a selection beyond the end ends at the end
    void setCaret(int position);        // drops any selection

    void setLineLen(int lineLen); // separator-line length, 1..120
    // Locked during a run: read-only, and the shorthand and Ctrl+Y do nothing.
    void setLocked(bool locked);

    // The tooltip for a point of the viewport: why the line there will be skipped, or why its
    // command is long, or nothing.
    QString markReasonAt(const QPoint &viewportPosition) const;

Q_SIGNALS:
    // Every change of the text: typing, pasting, the shorthand, Ctrl+Y, setCrlfText.
    void edited();

protected:
    bool event(QEvent *event) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    // Copy and paste carry CR LF text, so a lone CR or LF survives the clipboard.
    QMimeData *createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData *source) override;

private:
    struct Private;
    Private *d_;
};

} // namespace telmaris
