#include "UiTest.h"

#include "dataops/ChangeMark.h"
#include "dataops/LogonHours.h"
#include "testing/TimeLocale.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <fstream>

namespace {

class PanelTest : public UiTest {
protected:
    QCheckBox &mustChange() { return control<QCheckBox>("chkUserPassMust"); }
    QCheckBox &cannotChange() { return control<QCheckBox>("chkUserPassCant"); }
    QCheckBox &neverExpires() { return control<QCheckBox>("chkUserPassNever"); }
    QTableWidget &grid() { return control<QTableWidget>("flxUserHours"); }
    bool applyEnabled() { return control<QPushButton>("cmdApply").isEnabled(); }
    bool discardEnabled() { return control<QPushButton>("cmdDiscard").isEnabled(); }

    void selectCells(int top, int left, int bottom, int right) {
        grid().clearSelection();
        grid().setRangeSelected(QTableWidgetSelectionRange(top, left, bottom, right), true);
    }

    // The three boxes as "must cannot never", 1 for checked.
    std::string passwordBoxes() {
        return std::string{mustChange().isChecked() ? '1' : '0',
                           cannotChange().isChecked() ? '1' : '0',
                           neverExpires().isChecked() ? '1' : '0'};
    }
};

TEST_F(PanelTest, EditingAFieldMarksItAndEnablesApplyAndDiscard) {
    window().MarkDetailsClean();
    auto &fullName = control<QLineEdit>("txtUserFullName");
    EXPECT_FALSE(IsMarkedChanged(fullName));
    fullName.setText("Ann Archer");
    EXPECT_TRUE(IsMarkedChanged(fullName));
    EXPECT_FALSE(IsMarkedChanged(control<QLineEdit>("txtUserComment")));
    EXPECT_TRUE(applyEnabled());
    EXPECT_TRUE(discardEnabled());

    window().MarkDetailsClean();
    EXPECT_FALSE(IsMarkedChanged(fullName));
    EXPECT_FALSE(applyEnabled());
    EXPECT_FALSE(discardEnabled());
}

TEST_F(PanelTest, CheckingMustChangeClearsCannotChangeAndNeverExpires) {
    cannotChange().setChecked(true);
    neverExpires().setChecked(true);
    window().MarkDetailsClean();
    mustChange().click();
    EXPECT_EQ(passwordBoxes(), "100");
    // Every box a rule changed is sent at the next Apply.
    EXPECT_TRUE(IsMarkedChanged(cannotChange()));
    EXPECT_TRUE(IsMarkedChanged(neverExpires()));

    mustChange().click();
    EXPECT_EQ(passwordBoxes(), "001");
}

TEST_F(PanelTest, CannotChangeOrNeverExpiresTakePrecedenceOverMustChange) {
    mustChange().setChecked(true);
    window().MarkDetailsClean();
    cannotChange().click();
    EXPECT_EQ(passwordBoxes(), "011");
    for (QCheckBox *box : {&mustChange(), &cannotChange(), &neverExpires()}) {
        EXPECT_TRUE(IsMarkedChanged(*box)) << box->objectName().toStdString();
    }

    cannotChange().setChecked(false);
    mustChange().setChecked(true);
    EXPECT_EQ(passwordBoxes(), "100");
    neverExpires().setChecked(true);
    EXPECT_EQ(passwordBoxes(), "001");
}

TEST_F(PanelTest, WithoutMustChangeTheOtherBoxesAreIndependent) {
    cannotChange().click();
    EXPECT_EQ(passwordBoxes(), "010");
    neverExpires().click();
    EXPECT_EQ(passwordBoxes(), "011");
}

TEST_F(PanelTest, ClearingTheDetailsEndsWithEveryPasswordBoxUnchecked) {
    mustChange().setChecked(true);
    window().ClearDetails();
    EXPECT_EQ(passwordBoxes(), "000");
}

TEST_F(PanelTest, SetAndClearFillTheWholeSelectionAndMarkTheGrid) {
    window().MarkDetailsClean();
    selectCells(1, 8, 2, 16);  // Monday and Tuesday, 8 AM to 5 PM
    control<QPushButton>("cmdUserSet").click();
    EXPECT_TRUE(IsMarkedChanged(grid()));
    EXPECT_TRUE(applyEnabled());
    std::array<uint8_t, kLogonHoursBytes> hours{};
    GridToHours(grid(), hours);
    int allowed = 0;
    for (int hour = 0; hour < 168; ++hour) {
        const bool set = (hours[hour / 8] >> (hour % 8)) & 1;
        const int day = hour / 24;
        const int time = hour % 24;
        EXPECT_EQ(set, day >= 1 && day <= 2 && time >= 8 && time <= 16) << hour;
        allowed += set ? 1 : 0;
    }
    EXPECT_EQ(allowed, 18);

    selectCells(1, 12, 1, 12);
    control<QPushButton>("cmdUserClear").click();
    EXPECT_EQ(grid().item(1, 12)->text(), " ");
    EXPECT_EQ(grid().item(1, 11)->text(), "X");
    EXPECT_EQ(grid().item(2, 12)->text(), "X");
}

class ExpiryCheckTest : public PanelTest {
protected:
    void SetUp() override {
        PanelTest::SetUp();
        // The field is shown for a domain target only; the check itself does not depend on it.
        control<QWidget>("fraDetails").show();
        expiry().show();
        window().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window()));
        window().MarkDetailsClean();
    }

    QLineEdit &expiry() { return control<QLineEdit>("txtUserAcctExp"); }

    // Enters the field, types text (unless null) and moves on to the next field.
    void typeAndLeave(const char *text) {
        expiry().setFocus(Qt::TabFocusReason);
        if (text != nullptr) expiry().setText(text);
        control<QLineEdit>("txtUserFullName").setFocus(Qt::TabFocusReason);
    }
};

TEST_F(ExpiryCheckTest, AnImpossibleDateIsRefusedAndKeepsTheFocus) {
    typeAndLeave("2026-02-31");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Invalid date specified: '2026-02-31'");
    EXPECT_EQ(messages().shown()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(messages().shown()[0].title, "Tarnwick");
    EXPECT_TRUE(expiry().hasFocus());
}

// Refused where it is typed rather than once for every selected user at Apply.
TEST_F(ExpiryCheckTest, ADateTheAccountCannotHoldIsRefused) {
    typeAndLeave("2040-01-01");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Invalid date specified: '2040-01-01'");
    EXPECT_TRUE(expiry().hasFocus());
}

TEST_F(ExpiryCheckTest, InTheUsersLocaleItsDatesAndIsoDatesPass) {
    const TimeLocale german("de_DE.UTF-8");
    typeAndLeave("15.03.2027 8:30");
    typeAndLeave("2027-03-15");
    EXPECT_TRUE(messages().shown().empty());
    typeAndLeave("31.02.2027");
    ASSERT_EQ(messages().shown().size(), 1u);
    EXPECT_EQ(messages().shown()[0].text, "Invalid date specified: '31.02.2027'");
}

// The calendar writes the chosen day as if it were typed: the field is marked and keeps its
// time of day, and the check finds a date.
TEST_F(ExpiryCheckTest, TheCalendarWritesTheChosenDayIntoTheField) {
    expiry().setText("2027-06-30 18:00");
    window().MarkDetailsClean();
    auto &calendar = *expiry().findChild<QCalendarWidget *>("calCalendar");
    expiry().findChild<QAction *>("cmdCalendar")->trigger();
    ASSERT_TRUE(calendar.isVisible());
    EXPECT_EQ(calendar.selectedDate(), QDate(2027, 6, 30));
    calendar.setSelectedDate(QDate(2028, 2, 29));
    QTest::keyClick(calendar.findChild<QAbstractItemView *>(), Qt::Key_Return);
    EXPECT_FALSE(calendar.isVisible());
    EXPECT_EQ(expiry().text(), "2028-02-29 18:00:00");
    EXPECT_TRUE(IsMarkedChanged(expiry()));
    EXPECT_TRUE(applyEnabled());
    typeAndLeave(nullptr);
    EXPECT_TRUE(messages().shown().empty());
}

TEST_F(ExpiryCheckTest, UntouchedEmptyOrValidFieldsPass) {
    typeAndLeave(nullptr);
    typeAndLeave("2027-06-30");
    typeAndLeave("");  // never expires
    EXPECT_TRUE(messages().shown().empty());
    EXPECT_TRUE(control<QLineEdit>("txtUserFullName").hasFocus());
}

TEST_F(PanelTest, BrowseCancelledLeavesTheLogonScriptUnmarked) {
    window().dlgCD().setOption(QFileDialog::DontUseNativeDialog);
    window().MarkDetailsClean();
    QString seenTitle;
    QTimer::singleShot(0, [&] {
        seenTitle = window().dlgCD().windowTitle();
        window().dlgCD().reject();
    });
    control<QPushButton>("cmdUserScriptBrowse").click();
    EXPECT_EQ(seenTitle, "User Logon Script");
    EXPECT_TRUE(control<QLineEdit>("txtUserScript").text().isEmpty());
    EXPECT_FALSE(IsMarkedChanged(control<QLineEdit>("txtUserScript")));
}

TEST_F(PanelTest, BrowseSetsAndMarksTheChosenLogonScript) {
    const QString script = QString::fromStdString((folder() / "logon.cmd").string());
    std::ofstream(script.toStdString()) << "echo\n";
    window().dlgCD().setOption(QFileDialog::DontUseNativeDialog);
    window().MarkDetailsClean();
    QTimer::singleShot(0, [&] {
        window().dlgCD().selectFile(script);
        QMetaObject::invokeMethod(&window().dlgCD(), "accept");
    });
    control<QPushButton>("cmdUserScriptBrowse").click();
    EXPECT_EQ(control<QLineEdit>("txtUserScript").text(), script);
    EXPECT_TRUE(IsMarkedChanged(control<QLineEdit>("txtUserScript")));
}

}  // namespace
