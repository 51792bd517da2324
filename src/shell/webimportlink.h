#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

namespace kovanta {

// The main window's side of the web import (docs/web-import.md): the import window, made on
// first use, owned by the main window and only hidden between uses; it stands in for the main
// window while it is open, and tells it through MSG_IMPORT_NOTIFY when it closes or stored
// recipes. Its position and size are kept under "Software\kovanta\InternetRezeptImport".
//
// The main window passes every MSG_IMPORT_NOTIFY to notify(); the link brings the main window
// back itself and reports stored recipes as recipesStored(). The main window must outlive the
// link.
class WebImportLink : public QObject {
    Q_OBJECT
public:
    // defaultDirectory: the import window's own default directory ("/"-terminated; empty:
    // <temp>/kovanta/).
    WebImportLink(QWidget* mainWindow, QString defaultDirectory);
    ~WebImportLink() override;

    // "Web-Rezepte...": the import window, storing into webRecipeDirectory, on top in place of
    // the main window.
    void show(const QString& webRecipeDirectory);
    // MSG_IMPORT_NOTIFY with its wParam: IMPORT_WINDOW_CLOSES hides the import window and shows
    // the main window without activating it; any other value is recipesStored().
    void notify(long long kind);

    QWidget* importWindow() const { return importWindow_; }

signals:
    void recipesStored();

private:
    QWidget* create(const QString& webRecipeDirectory);

    QPointer<QWidget> mainWindow_;
    QString defaultDirectory_;
    QPointer<QWidget> importWindow_;
};

} // namespace kovanta
