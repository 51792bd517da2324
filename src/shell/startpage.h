#pragma once

#include <QFrame>
#include <QLabel>
#include <QUrl>

class QButtonGroup;
class QTextEdit;

namespace kovanta {

class HemisphereButton;

// A label that shows an address and opens url with the desktop's handler when clicked.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, const QUrl& url, QWidget* parent = nullptr);
    QUrl url() const { return url_; }

signals:
    // Emitted before the address is handed to the desktop.
    void opened(const QUrl& url);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void open();
    QUrl url_;
};

// The start page Panel11: on the left the guide text RichEdit3 with the two link labels below
// it and the product text RichEdit2 in the lower half; on the right the button column. The six
// guide buttons (tags 1-6) form one group with exactly one button down. "Programmstart"
// (HemisphereButton16) stays disabled until enableStart().
class StartPage : public QFrame {
    Q_OBJECT
public:
    explicit StartPage(QWidget* parent = nullptr);

    // Shows guide text tag (1-6) and puts its button down; other tags are ignored.
    void showGuideText(int tag);
    int currentGuideTag() const { return guideTag_; }

    // Rebuilds the product text (done each time the start page is shown).
    void rebuildProductText();

    // Enables "Programmstart" and turns its face green. It stays enabled from then on.
    void enableStart();

    HemisphereButton* startButton() const { return startButton_; }

signals:
    void startRequested();
    void quitRequested();

private:
    QTextEdit* guide_ = nullptr;
    QTextEdit* product_ = nullptr;
    QButtonGroup* guideGroup_ = nullptr;
    HemisphereButton* startButton_ = nullptr;
    int guideTag_ = 0;
};

} // namespace kovanta
