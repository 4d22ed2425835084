#pragma once
// The help window: the help file of the chosen language (HTML) with its contents and a
// list of its keywords to search. Keywords are the file's anchors named "kw-...".

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTextBrowser;

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *parent = nullptr);

    // Reads the help file; false with the reason when it cannot be read.
    bool Open(const QString &path, QString *error);
    // The top of the help.
    void ShowContents();
    // The keyword list, ready for typing.
    void ShowSearch();
    // Goes to the first keyword that starts with `key` (case-insensitive); false if none.
    bool ShowKeyword(const QString &key);

    QStringList Keywords() const { return keywords_; }
    QTextBrowser *Browser() const { return browser_; }

private:
    void filter(const QString &text);
    void present();

    QTextBrowser *browser_;
    QLineEdit *search_;
    QListWidget *list_;
    QStringList keywords_;
    QString path_;
};
