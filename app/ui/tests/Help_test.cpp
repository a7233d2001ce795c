#include "UiTest.h"

#include "ui/Help.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QUrl>

namespace {

// Stands in for the desktop's browser: keeps every address it is asked to open.
class Browser : public QObject {
    Q_OBJECT

public:
    Browser() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~Browser() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }

    QList<QUrl> opened;

public slots:
    void open(const QUrl &address) { opened << address; }
};

class HelpTest : public UiTest {
protected:
    Browser browser;
};

QString HelpDocument() {
    QFile file(HelpFile());
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

TEST_F(HelpTest, ContentsAndSearchOpenTheDocumentBesideTheProgram) {
    control<QAction>("mnuHelpContents").trigger();
    control<QAction>("mnuHelpSearch").trigger();
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened[0], QUrl::fromLocalFile(HelpFile()));
    EXPECT_EQ(browser.opened[1].adjusted(QUrl::RemoveFragment), QUrl::fromLocalFile(HelpFile()));
    EXPECT_EQ(browser.opened[1].fragment(), "index");
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(HelpTest, EverySectionOpenedByAddressExistsInTheDocument) {
    const QString document = HelpDocument();
    ASSERT_FALSE(document.isEmpty()) << HelpFile().toStdString();
    for (const QUrl &address : {HelpAddress(HelpCommand::Index), HelpAddress(700)}) {
        EXPECT_TRUE(document.contains(QStringLiteral("id=\"%1\"").arg(address.fragment())))
            << address.toString().toStdString();
    }
    EXPECT_EQ(HelpAddress(700).fragment(), "relationships");
}

TEST_F(HelpTest, MissingDocumentIsReportedUnderTheOwnersCaption) {
    ShowHelp(QUrl::fromLocalFile(QString::fromStdString((folder() / "Tarnwick.html").string())),
             "\\\\ALDER - Tarnwick");
    EXPECT_TRUE(browser.opened.isEmpty());
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text,
              "Unable to display Help Contents. There is no Help associated with this project.");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Information);
    EXPECT_EQ(messages().shown()[0].title, "\\\\ALDER - Tarnwick");
}

}  // namespace

#include "Help_test.moc"
