#include "shell/HelpWindow.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString kKeywordPrefix = QStringLiteral("kw-");

// "kw-gradient-factors" is shown as "gradient factors".
QString keywordText(const QString &anchor)
{
    return anchor.mid(kKeywordPrefix.size()).replace(QLatin1Char('-'), QLatin1Char(' '));
}

// Keyword anchors are plain ASCII ("oberflaeche"); what the diver types, and the keyword
// the list shows, are folded the same way, so "Oberflä" finds the surface-interval section.
QString foldTyped(const QString &typed)
{
    QString folded = typed.toLower();
    folded.replace(QChar(0x00E4), QStringLiteral("ae"));
    folded.replace(QChar(0x00F6), QStringLiteral("oe"));
    folded.replace(QChar(0x00FC), QStringLiteral("ue"));
    folded.replace(QChar(0x00DF), QStringLiteral("ss"));
    return folded;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("DOLV"));
    search_ = new QLineEdit(this);
    search_->setObjectName(QStringLiteral("search"));
    search_->setClearButtonEnabled(true);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("keywords"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("browser"));
    browser_->setOpenExternalLinks(true);

    auto *side = new QWidget(this);
    auto *sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    sideLayout->addWidget(search_);
    sideLayout->addWidget(list_);
    auto *split = new QSplitter(this);
    split->addWidget(side);
    split->addWidget(browser_);
    split->setStretchFactor(1, 1);
    split->setSizes({180, 520});
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(split);
    resize(760, 560);

    connect(search_, &QLineEdit::textChanged, this, &HelpWindow::filter);
    connect(search_, &QLineEdit::returnPressed, this, [this] { ShowKeyword(search_->text()); });
    connect(list_, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        browser_->scrollToAnchor(item->data(Qt::UserRole).toString());
    });
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
        browser_->scrollToAnchor(item->data(Qt::UserRole).toString());
    });
}

bool HelpWindow::Open(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("Cannot open the help file %1: %2").arg(path, file.errorString());
        return false;
    }
    const QString html = QString::fromUtf8(file.readAll());
    path_ = path;
    browser_->setSearchPaths({QFileInfo(path).absolutePath()});
    browser_->setHtml(html);
    if (const QString title = browser_->documentTitle(); !title.isEmpty())
        setWindowTitle(title);

    keywords_.clear();
    list_->clear();
    // A keyword anchor's title, when it has one, is the word as the list shows it (the
    // anchor's ASCII spelling is not the word: "menue" is shown "menü").
    static const QRegularExpression anchor(QStringLiteral("<a\\s+([^>]*)>"), QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression nameAttr(QStringLiteral("\\bname\\s*=\\s*\"(kw-[^\"]+)\""),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression titleAttr(QStringLiteral("\\btitle\\s*=\\s*\"([^\"]+)\""),
                                              QRegularExpression::CaseInsensitiveOption);
    for (auto it = anchor.globalMatch(html); it.hasNext();) {
        const QString attributes = it.next().captured(1);
        const QRegularExpressionMatch name = nameAttr.match(attributes);
        if (!name.hasMatch())
            continue;
        const QRegularExpressionMatch title = titleAttr.match(attributes);
        keywords_ << name.captured(1);
        auto *item = new QListWidgetItem(title.hasMatch() ? title.captured(1) : keywordText(name.captured(1)), list_);
        item->setData(Qt::UserRole, name.captured(1));
    }
    return true;
}

void HelpWindow::ShowContents()
{
    browser_->scrollToAnchor(QString());
    browser_->moveCursor(QTextCursor::Start);
    browser_->ensureCursorVisible();
    present();
}

void HelpWindow::ShowSearch()
{
    search_->clear();
    ShowKeyword(QString());
    present();
    search_->setFocus();
}

bool HelpWindow::ShowKeyword(const QString &typed)
{
    const QString key = foldTyped(typed);
    for (int i = 0; i < list_->count(); ++i) {
        const QString name = list_->item(i)->data(Qt::UserRole).toString();
        if (foldTyped(list_->item(i)->text()).startsWith(key, Qt::CaseInsensitive) ||
            name.mid(kKeywordPrefix.size()).startsWith(key, Qt::CaseInsensitive)) {
            browser_->scrollToAnchor(name);
            return true;
        }
    }
    return false;
}

void HelpWindow::filter(const QString &text)
{
    for (int i = 0; i < list_->count(); ++i) {
        QListWidgetItem *item = list_->item(i);
        item->setHidden(!foldTyped(item->text()).contains(foldTyped(text), Qt::CaseInsensitive));
    }
    ShowKeyword(text);
}

void HelpWindow::present()
{
    show();
    raise();
    activateWindow();
}
