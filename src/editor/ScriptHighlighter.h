#pragma once
// Marks the script text in the editor box: keywords that run in bold, the placeholder in its own
// colour, and lines that will be skipped although they look meant to run with a wavy underline.

#include <QSyntaxHighlighter>

namespace telmaris {

class ScriptHighlighter : public QSyntaxHighlighter {
    Q_OBJECT
public:
    explicit ScriptHighlighter(QTextDocument *document);

protected:
    void highlightBlock(const QString &text) override;
};

} // namespace telmaris
