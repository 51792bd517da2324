#pragma once

#include <QFrame>
#include <QLabel>
#include <QUrl>

#include <functional>

class QButtonGroup;
class QTextEdit;

namespace kovanta {

class HemisphereButton;

// A label that shows an address and opens url with the desktop's handler when clicked, or
// with Enter while it has the keyboard focus, which it shows with a frame.
class LinkLabel : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& text, const QUrl& url, QWidget* parent = nullptr);
    QUrl url() const { return url_; }

    // Hands an address to the desktop; false when no program could be started for it. The
    // desktop's URL handler by default; tests replace it.
    std::function<bool(const QUrl&)> opener;

signals:
    // Emitted before the address is handed to the desktop.
    void opened(const QUrl& url);
    // No program (web browser, mail program) could be started for the address.
    void openFailed(const QUrl& url);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

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
    // Timer1: enableStart() delayMs after now, then startEnabled().
    void enableStartAfter(int delayMs);
    // "Programmstart" can be clicked: the page shows and the button is enabled.
    bool canStart() const;

    HemisphereButton* startButton() const { return startButton_; }

    // The two link labels, "Internet:" and "E-Mail:".
    LinkLabel* webLink() const { return webLink_; }
    LinkLabel* mailLink() const { return mailLink_; }

    // What the status bar says when a link could not be opened.
    static QString linkFailedMessage(const QUrl& url);

signals:
    void startRequested();
    void startEnabled();
    void quitRequested();
    // A link label could not start a program for its address; message says so.
    void linkFailed(const QString& message);

private:
    QTextEdit* guide_ = nullptr;
    QTextEdit* product_ = nullptr;
    QButtonGroup* guideGroup_ = nullptr;
    HemisphereButton* startButton_ = nullptr;
    LinkLabel* webLink_ = nullptr;
    LinkLabel* mailLink_ = nullptr;
    int guideTag_ = 0;
};

} // namespace kovanta
