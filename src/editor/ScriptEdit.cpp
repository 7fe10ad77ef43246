#include "editor/ScriptEdit.h"

#include "editor/DocumentText.h"
#include "editor/EditBuffer.h"
#include "editor/ScriptHighlighter.h"
#include "editor/ScriptLint.h"

#include <QClipboard>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>

#include <algorithm>

namespace telmaris {

namespace {

// Ctrl+Y, with or without Shift: the line cut. It replaces the toolkit's own redo binding.
bool isLineCutKey(const QKeyEvent *event) {
    const auto mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return event->key() == Qt::Key_Y && mods == Qt::ControlModifier;
}

bool isSpaceKey(const QKeyEvent *event) {
    const auto mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    return event->text() == QStringLiteral(" ") && mods == Qt::NoModifier;
}

// Alt with a key, with or without Shift: a button's shortcut, also when that button is
// disabled ("Programmieren" without a usable port), and then the toolkit would type the letter
// into the script. AltGr, which types @ or € on German keyboards, comes as Ctrl+Alt on Windows
// and without Alt elsewhere.
bool isAltChord(const QKeyEvent *event) {
    const auto mods = event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    return mods == Qt::AltModifier && !event->text().isEmpty();
}

bool isShiftEnter(const QKeyEvent *event) {
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
           (event->modifiers() & Qt::ShiftModifier);
}

} // namespace

struct ScriptEdit::Private {
    int lineLen = 65;
    bool locked = false;
    int quiet = 0; // while > 0, own changes emit edited() once at their end
};

ScriptEdit::ScriptEdit(bool wrap, QWidget *parent) : QPlainTextEdit(parent), d_(new Private) {
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    if (wrap) {
        setLineWrapMode(QPlainTextEdit::WidgetWidth);
        setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    } else {
        setLineWrapMode(QPlainTextEdit::NoWrap);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    }
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Tab moves to the next control: a typed tab would break the keyword behind it. A tab in
    // pasted text stays.
    setTabChangesFocus(true);
    new ScriptHighlighter(document());
    viewport()->setMouseTracking(true);
    setMouseTracking(true);
    // Typing right behind a stand-in would take over its format; typed text is plain.
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] {
        const QTextCursor cursor = textCursor();
        if (!cursor.hasSelection() && !cursor.charFormat().properties().isEmpty())
            setCurrentCharFormat(QTextCharFormat());
    });
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (d_->quiet == 0)
            Q_EMIT edited();
    });
}

ScriptEdit::~ScriptEdit() {
    delete d_;
}

// Positions: a document position p lies in block b, and every block before it ended with one
// paragraph break that stands for two characters (CR LF), so the CR LF position is p + b.
static int toCrlfPosition(const QTextDocument *doc, int docPosition) {
    return docPosition + doc->findBlock(docPosition).blockNumber();
}

// The reverse; a position between the CR and the LF of a line break counts as the line's end.
static int toDocumentPosition(const QTextDocument *doc, int crlfPosition) {
    crlfPosition = std::max(crlfPosition, 0);
    int low = 0;
    int high = doc->blockCount() - 1;
    while (low < high) { // last block whose CR LF start is at or before the position
        const int mid = (low + high + 1) / 2;
        if (doc->findBlockByNumber(mid).position() + mid <= crlfPosition)
            low = mid;
        else
            high = mid - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const int offset = crlfPosition - (block.position() + low);
    return block.position() + std::min(offset, block.length() - 1);
}

// The length of the CR LF text, from the document's counts alone: characterCount() holds one
// paragraph break per block, of which all but the last stand for a CR LF.
static int crlfSize(const QTextDocument *doc) {
    return doc->characterCount() - 1 + doc->blockCount() - 1;
}

QString ScriptEdit::crlfText() const {
    return documentCrlfText(document());
}

void ScriptEdit::setCrlfText(const QString &text) {
    ++d_->quiet;
    setDocumentCrlfText(document(), text);
    --d_->quiet;
    Q_EMIT edited();
}

int ScriptEdit::selStart() const {
    return toCrlfPosition(document(), textCursor().selectionStart());
}

int ScriptEdit::selLength() const {
    const QTextCursor cursor = textCursor();
    return toCrlfPosition(document(), cursor.selectionEnd()) -
           toCrlfPosition(document(), cursor.selectionStart());
}

QString ScriptEdit::selText() const {
    const QTextCursor cursor = textCursor();
    return documentCrlfText(document(), cursor.selectionStart(), cursor.selectionEnd());
}

void ScriptEdit::select(int start, int length) {
    const int size = crlfSize(document());
    start = std::clamp(start, 0, size);
    const int end = std::clamp(start + std::max(length, 0), start, size);
    QTextCursor cursor(document());
    cursor.setPosition(toDocumentPosition(document(), start));
    cursor.setPosition(toDocumentPosition(document(), end), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void ScriptEdit::setCaret(int position) {
    select(position, 0);
}

void ScriptEdit::setLineLen(int lineLen) {
    d_->lineLen = std::clamp(lineLen, 1, 120);
}

void ScriptEdit::setLocked(bool locked) {
    d_->locked = locked;
    setReadOnly(locked);
}

// Carries a buffer that an editing operation produced back into the widget: the one changed
// stretch is replaced (one undo step, the view keeps its place), then caret and selection.
static void applyBuffer(ScriptEdit *edit, const QString &before, const EditBuffer &after) {
    const TextChange change = diffTexts(before, after.text);
    QTextDocument *doc = edit->document();
    QTextCursor cursor(doc);
    cursor.setPosition(toDocumentPosition(doc, change.start));
    cursor.setPosition(toDocumentPosition(doc, change.start + change.removed),
                       QTextCursor::KeepAnchor);
    insertCrlfText(cursor, change.inserted);
    edit->select(after.selStart, after.selLength);
    edit->ensureCursorVisible();
}

bool ScriptEdit::event(QEvent *event) {
    // Claim Ctrl+Y before any window shortcut can take it.
    if (event->type() == QEvent::ShortcutOverride &&
        isLineCutKey(static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QPlainTextEdit::event(event);
}

void ScriptEdit::keyPressEvent(QKeyEvent *event) {
    if (isLineCutKey(event)) {
        event->accept(); // always swallowed; during a run it does nothing
        if (d_->locked)
            return;
        const QString before = crlfText();
        EditBuffer buffer{before, selStart(), selLength()};
        const QString cut = cutLine(buffer);
        QGuiApplication::clipboard()->setText(cut);
        ++d_->quiet;
        applyBuffer(this, before, buffer);
        --d_->quiet;
        if (buffer.text != before)
            Q_EMIT edited();
        return;
    }
    if (!d_->locked && isSpaceKey(event)) {
        const QString before = crlfText();
        EditBuffer buffer{before, selStart(), selLength()};
        if (completeKeyword(buffer, d_->lineLen)) {
            event->accept();
            ++d_->quiet;
            applyBuffer(this, before, buffer);
            --d_->quiet;
            Q_EMIT edited();
            return;
        }
    }
    if (!d_->locked && isShiftEnter(event)) {
        // The toolkit would insert a soft line break; a script knows only CR LF.
        event->accept();
        QTextCursor cursor = textCursor();
        cursor.insertBlock();
        setTextCursor(cursor);
        ensureCursorVisible();
        return;
    }
    if (isAltChord(event)) {
        event->ignore();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

QString ScriptEdit::markReasonAt(const QPoint &viewportPosition) const {
    const QTextBlock block = cursorForPosition(viewportPosition).block();
    const QRectF area = blockBoundingGeometry(block).translated(contentOffset());
    if (!block.isValid() || !area.contains(viewportPosition))
        return {};
    return checkScriptLine(blockCrlfText(block)).reason();
}

bool ScriptEdit::viewportEvent(QEvent *event) {
    if (event->type() == QEvent::ToolTip) {
        const auto *help = static_cast<QHelpEvent *>(event);
        const QString reason = markReasonAt(help->pos());
        if (reason.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), reason, viewport());
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

QMimeData *ScriptEdit::createMimeDataFromSelection() const {
    auto *data = new QMimeData;
    data->setText(selText());
    return data;
}

void ScriptEdit::insertFromMimeData(const QMimeData *source) {
    if (d_->locked || source == nullptr || !source->hasText())
        return;
    // Text from elsewhere breaks its lines in its own way (LF on Linux, CR from old Macs,
    // U+2028/U+2029 from web pages); each of those breaks is a script line break.
    QTextCursor cursor = textCursor();
    insertCrlfText(cursor, withCrlfLineBreaks(source->text()));
    setTextCursor(cursor);
    ensureCursorVisible();
}

} // namespace telmaris
