#include "UiTest.h"

#include "testing/TempFolder.h"
#include "dataops/ItemList.h"
#include "ui/frmSplash.h"
#include "ui/modMain.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <fstream>

namespace {

class StartUpTest : public UiTest {};

frmSplash *VisibleSplash() {
    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (auto *splash = qobject_cast<frmSplash *>(window); splash && splash->isVisible()) {
            return splash;
        }
    }
    return nullptr;
}

TEST_F(StartUpTest, ShowsTheSplashForOneSecondThenTheMainWindow) {
    struct SplashSeen {
        bool shown = false;
        QString caption;
        bool buttonsVisible = true;
        QString title;
    } seen;
    QTimer::singleShot(300, [&seen] {
        if (frmSplash *splash = VisibleSplash()) {
            seen.shown = true;
            seen.caption = splash->windowTitle();
            seen.buttonsVisible = splash->findChild<QPushButton *>("cmdOK")->isVisible() ||
                                  splash->findChild<QPushButton *>("cmdSysInfo")->isVisible();
            seen.title = splash->findChild<QLabel *>("lblProdName")->text();
        }
    });
    QElapsedTimer clock;
    clock.start();
    const std::unique_ptr<frmMain> main = StartUp(folder());
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_TRUE(seen.shown);
    EXPECT_EQ(seen.caption, QString());
    EXPECT_FALSE(seen.buttonsVisible);
    EXPECT_EQ(seen.title, "Tarnwick");
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(VisibleSplash(), nullptr);
}

TEST(WaitProcessingEvents, HandlesEventsWhileWaiting) {
    bool handled = false;
    QTimer::singleShot(20, [&handled] { handled = true; });
    QElapsedTimer clock;
    clock.start();
    WaitProcessingEvents(std::chrono::milliseconds(120));
    EXPECT_GE(clock.elapsed(), 120);
    EXPECT_TRUE(handled);
}

class SameTypeSelectedTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.entries().append({"Administrators", "Backup Operators", "Domain Admins", "Domain Users"},
                              {ItemIcon::LocalGroup, ItemIcon::LocalGroup, ItemIcon::GlobalGroup,
                               ItemIcon::GlobalGroup});
    }

    void select(std::initializer_list<int> rows) {
        list.clearSelection();
        for (int row : rows) {
            list.selectionModel()->select(list.model()->index(row, 0), QItemSelectionModel::Select);
        }
        list.selectionModel()->setCurrentIndex(list.model()->index(*rows.begin(), 0),
                                               QItemSelectionModel::NoUpdate);
    }

    RecordingPresenter messages;
    ItemListView list;
};

TEST_F(SameTypeSelectedTest, AcceptsOneKindSilently) {
    select({2, 3});
    EXPECT_TRUE(SameTypeSelected(list));
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(SameTypeSelectedTest, RefusesLocalAndGlobalGroupsTogether) {
    select({1, 2});
    EXPECT_FALSE(SameTypeSelected(list));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, "Mixed types in selection not allowed");
    EXPECT_EQ(messages.shown()[0].title, "Selection Error");
    EXPECT_EQ(messages.shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(messages.shown()[0].buttons, MsgButtons::OKOnly);
}

class BrowseForFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        script = (folder.path() / "logon").string();
        std::ofstream(script) << "echo\n";
    }

    // Answers the dialog once it is on the screen.
    template <typename Answer>
    void whenShown(Answer answer) {
        QTimer::singleShot(0, [this, answer] {
            seenFilters = dialog.nameFilters();
            seenTitle = dialog.windowTitle();
            answer();
        });
    }

    TempFolder folder;
    std::string script;
    QFileDialog dialog;
    QStringList seenFilters;
    QString seenTitle;
};

TEST_F(BrowseForFileTest, ReturnsTheChosenFileWithItsFullPath) {
    whenShown([this] {
        dialog.selectFile(QString::fromStdString(script));
        QMetaObject::invokeMethod(&dialog, "accept");
    });
    EXPECT_EQ(BrowseForFile(dialog, "All Files(*.*)|*.*", "User Logon Script"),
              QString::fromStdString(script));
    // Files without an extension, like this script, must be choosable.
    EXPECT_EQ(seenFilters, QStringList{"All Files(*.*) (*)"});
    EXPECT_EQ(seenTitle, "User Logon Script");
}

TEST_F(BrowseForFileTest, ReturnsEmptyTextWhenCancelled) {
    whenShown([this] { dialog.reject(); });
    EXPECT_EQ(BrowseForFile(dialog, "All Files(*.*)|*.*", "User Logon Script"), QString());
}

}  // namespace
