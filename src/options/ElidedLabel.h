#pragma once
// A one-line label for a path: shown whole where it fits, otherwise with its middle left out
// ("/home/…/Telmaris.log"), so that both the folder it starts in and the file's name stay in
// sight. The tooltip always holds the whole text.

#include <QLabel>

namespace telmaris {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    void setFullText(const QString &text);
    const QString &fullText() const { return fullText_; }
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void elide();

    QString fullText_;
};

} // namespace telmaris
