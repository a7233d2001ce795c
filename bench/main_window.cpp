// main_window [--million]: the real main window, offscreen, on generated domains of 10,000 and
// 100,000 users (and 1,000,000 with --million: about ten minutes more), each user in one of
// users / 50 groups of 50 members. The 100,000-user domain also has a group of 50,000 members
// to filter by. For each domain: Switch To until the list is painted, one fill of the list, the
// filter, the groups view, select all, and the program's resident memory after each step;
// then Relationships -> OK with 20,000 users selected, typing into the search box a key at a
// time, and sorting by a column. Times are wall-clock times, each taken once: a figure is what
// the administrator waits for. Prints a table with the goals.
#include "domain_enumeration.h"
#include "samworld/world.h"
#include "store/ProgramValues.h"
#include "testing/RecordingPresenter.h"
#include "testing/TempFolder.h"
#include "ui/frmMain.h"
#include "ui/frmRelations.h"
#include "ui/modDeclare.h"
#include "vantry_api/ProgramFolder.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

const char *const kDomain = "BENCH";
const char *const kController = "SPRUCE";
const char *const kHalfGroup = "Half";
constexpr int kMembersPerGroup = 50;
constexpr int kHalfMembers = 50000;
constexpr int kRelationsSelection = 20000;
constexpr int kBuiltInUsers = 2;  // Administrator and Guest

// Resident memory of this process now, in megabytes.
double residentMB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// Builds the world in a child process, so that none of its memory counts as the program's.
void buildWorld(const std::filesystem::path &path, int users) {
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("Cannot start the world builder");
    if (child == 0) {
        int code = 0;
        try {
            samworld::World world = samworld::World::create(path.string());
            world.addDomain(kDomain, kController);
            world.logon(std::string(kDomain) + "\\Administrator");
            world.generate(kDomain, users, users / kMembersPerGroup, kMembersPerGroup, 7);
            if (users >= kHalfMembers * 2) {
                world.addGroup(kDomain, kHalfGroup, samworld::GroupKind::Global);
                // Every other generated user (not the controller's trust account), so that the
                // members spread over the whole list. In one statement: the world's own calls
                // take minutes for this many.
                world.database().execute(
                    "INSERT INTO group_members (group_id, user_rid, user_id) "
                    "SELECT g.id, u.rid, u.id FROM accounts g JOIN accounts u "
                    "ON u.sam_id = g.sam_id AND u.kind = 1 AND u.builtin = 0 AND u.rid % 2 = 0 "
                    "AND u.name NOT LIKE '%$' "
                    "WHERE g.name = 'Half' ORDER BY u.rid LIMIT 50000");
            }
        } catch (const std::exception &error) {
            std::cerr << "Building the world failed: " << error.what() << '\n';
            code = 1;
        }
        _exit(code);
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error("Building the world failed");
    }
}

struct Figure {
    std::string step;
    double seconds;
    double memoryMB;
    std::optional<double> goalSeconds;
    std::optional<double> goalMB;
};

std::string cell(double value, const std::optional<double> &goal, const char *format) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    std::string result = text;
    if (goal) {
        std::snprintf(text, sizeof text, format, *goal);
        result += std::string(value <= *goal ? " < " : " > ") + text + (value <= *goal ? " ok" : " MISSED");
    }
    return result;
}

// The main window working on one generated domain, driven through its own controls.
class WindowRun {
public:
    WindowRun(int users, const std::filesystem::path &folder) : users_(users) {
        std::filesystem::copy_file(ProgramFolder() / "Template.MDB", folder / "Template.MDB");
        window_.FormSetup(folder);
        window_.resize(1200, 800);
        window_.show();
        settle();
    }

    void run(std::vector<Figure> &figures) {
        const std::string size = std::to_string(users_ / 1000) + "k";
        const bool million = users_ >= 1000000;
        const bool hundredThousand = users_ == 100000;

        control<QLineEdit>("txtName").setText(kController);
        record(figures, size + " Switch To until the list is painted",
               [&] { control<QPushButton>("cmdSwitch").click(); },
               million ? 30.0 : hundredThousand ? 2.5 : std::optional<double>{},
               million ? 500.0 : std::optional<double>{});
        expectRows(users_ + kBuiltInUsers, "users after Switch To");

        record(figures, size + " one fill of the list", [&] { window_.UpdateMainView(false); });

        auto &filter = control<QComboBox>("cboFilter");
        if (filter.findText(kHalfGroup) >= 0) {
            record(figures, size + " filter on the 50,000-member group",
                   [&] { filter.setCurrentIndex(filter.findText(kHalfGroup)); },
                   hundredThousand ? 0.15 : std::optional<double>{});
            expectRows(kHalfMembers, "members of the filter's group");
            record(figures, size + " filter back to every user",
                   [&] { filter.setCurrentIndex(0); });
        }

        record(figures, size + " groups view",
               [&] { control<QAction>("tbrToolBar_Group").trigger(); }, std::nullopt,
               hundredThousand ? 150.0 : million ? 500.0 : std::optional<double>{});
        // The groups view's filter offers every user: typing a name finds it, and the list
        // drops down at once.
        const QString lastUser = filter.itemText(filter.count() - 1);
        record(figures, size + " type the last user's name into the filter", [&] {
            filter.setFocus();
            QTest::keyClicks(&filter, lastUser);
        });
        if (filter.currentText() != lastUser) {
            throw std::runtime_error("Typing " + lastUser.toStdString() + " chose " +
                                     filter.currentText().toStdString());
        }
        record(figures, size + " drop the filter's list down", [&] { filter.showPopup(); });
        filter.hidePopup();
        record(figures, size + " users view again",
               [&] { control<QAction>("tbrToolBar_User").trigger(); });

        record(figures, size + " select all (with the 250 ms selection delay)", [&] {
            QAbstractItemView &list = control<QAbstractItemView>("lstItems");
            list.setFocus();
            // From the first user, selected by the fill, to the last: Ctrl+A is "New User".
            QTest::keyClick(&list, Qt::Key_End, Qt::ShiftModifier);
            waitFor([&] { return window_.SelCount() == users_ + kBuiltInUsers; }, "every user selected");
        });

        if (users_ >= kRelationsSelection) {
            relationshipsOk(figures, size);
        }
        searchAndSort(figures, size, hundredThousand ? 0.05 : std::optional<double>{});
        // The platform's and the library's share of Switch To: the load's enumerations alone.
        record(figures, size + " the load's enumerations alone", [] {
            enumerateDomain((std::string("\\\\") + kController).c_str());
        });
    }

private:
    template <typename Control>
    Control &control(const char *name) {
        auto *found = window_.findChild<Control *>(QString::fromLatin1(name));
        if (found == nullptr) throw std::runtime_error(std::string("No control ") + name);
        return *found;
    }

    // Lets the queued work run and paints the window, as the administrator would see it.
    void settle() {
        QCoreApplication::processEvents();
        window_.repaint();
        QCoreApplication::processEvents();
    }

    void waitFor(const std::function<bool()> &done, const char *what) {
        QElapsedTimer clock;
        clock.start();
        while (!done()) {
            if (clock.elapsed() > 600000) throw std::runtime_error(std::string("No ") + what);
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
    }

    void record(std::vector<Figure> &figures, const std::string &step,
                const std::function<void()> &action, std::optional<double> goalSeconds = {},
                std::optional<double> goalMB = {}) {
        const auto start = std::chrono::steady_clock::now();
        action();
        settle();
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        figures.push_back({step, seconds, residentMB(), goalSeconds, goalMB});
        std::cout << "  " << step << ": " << seconds << " s, " << figures.back().memoryMB
                  << " MB" << std::endl;
        if (!messages_.shown().empty()) {
            throw std::runtime_error(step + " showed: " + messages_.shown().front().text);
        }
    }

    void expectRows(int rows, const char *what) {
        const int listed = control<QAbstractItemView>("lstItems").model()->rowCount();
        if (listed != rows) {
            throw std::runtime_error(std::string("Expected ") + std::to_string(rows) + " " +
                                     what + ", the list has " + std::to_string(listed));
        }
    }

    // The first 20,000 users selected as a Shift-click selects them, the Relationships dialog
    // opened on them, and its OK timed: the list is rebuilt and the selection restored.
    void relationshipsOk(std::vector<Figure> &figures, const std::string &size) {
        QAbstractItemView &list = control<QAbstractItemView>("lstItems");
        QAbstractItemModel &model = *list.model();
        list.selectionModel()->select(
            QItemSelection(model.index(0, 0), model.index(kRelationsSelection - 1, 0)),
            QItemSelectionModel::ClearAndSelect);
        list.selectionModel()->setCurrentIndex(model.index(kRelationsSelection - 1, 0),
                                               QItemSelectionModel::NoUpdate);
        waitFor([&] { return window_.SelCount() == kRelationsSelection; },
                "selection of 20,000 users");
        double seconds = 0;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<frmRelations *>(QApplication::activeModalWidget());
            if (dialog == nullptr) throw std::runtime_error("No Relationships dialog");
            auto &ok = *dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"));
            const auto start = std::chrono::steady_clock::now();
            ok.click();
            settle();
            seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        });
        control<QPushButton>("cmdRelations").click();
        waitFor([&] { return window_.SelCount() == kRelationsSelection; },
                "selection restored after Relationships");
        figures.push_back({size + " Relationships -> OK, 20,000 selected", seconds, residentMB(),
                           0.5, std::nullopt});
        std::cout << "  Relationships -> OK: " << seconds << " s" << std::endl;
    }

    // The search box above the list, a keystroke at a time as the administrator types, then
    // Escape; and a click on the name's and the full name's headers.
    void searchAndSort(std::vector<Figure> &figures, const std::string &size,
                       std::optional<double> keystrokeGoal) {
        auto &list = control<QTreeView>("lstItems");
        const QModelIndex first = list.model()->index(0, 0);
        list.scrollTo(first);  // select all has scrolled to the last user
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualRect(first).center());
        waitFor([&] { return window_.SelCount() == 1; }, "one user selected");
        auto &search = control<QLineEdit>("txtSearch");
        search.setFocus();
        for (const char key : std::string("er12")) {
            record(figures, size + " search box: type '" + key + "'",
                   [&] { QTest::keyClick(&search, key); }, keystrokeGoal);
        }
        expectSomeRows("names holding er12");
        record(figures, size + " search box: Escape",
               [&] { QTest::keyClick(&search, Qt::Key_Escape); }, keystrokeGoal);
        expectRows(users_ + kBuiltInUsers, "users after Escape");
        record(figures, size + " sort by name", [&] { list.sortByColumn(0, Qt::AscendingOrder); });
        record(figures, size + " sort by full name",
               [&] { list.sortByColumn(1, Qt::AscendingOrder); });
    }

    void expectSomeRows(const char *what) {
        const int listed = control<QAbstractItemView>("lstItems").model()->rowCount();
        if (listed == 0 || listed == users_ + kBuiltInUsers) {
            throw std::runtime_error(std::string("Expected some ") + what + ", the list has " +
                                     std::to_string(listed));
        }
    }

    int users_;
    RecordingPresenter messages_;
    frmMain window_;
};

void printTable(const std::vector<Figure> &figures) {
    std::printf("\n%-52s %-22s %-22s\n", "step", "wall time, s (goal)", "memory, MB (goal)");
    for (const Figure &figure : figures) {
        std::printf("%-52s %-22s %-22s\n", figure.step.c_str(),
                    cell(figure.seconds, figure.goalSeconds, "%.3f").c_str(),
                    cell(figure.memoryMB, figure.goalMB, "%.0f").c_str());
    }
}

}  // namespace

int main(int argc, char *argv[]) {
    const std::map<std::string, int> known{{"10k", 10000}, {"100k", 100000}, {"1m", 1000000}};
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        const auto size = known.find(argv[i]);
        if (size == known.end()) {
            std::cerr << "usage: main_window [10k] [100k] [1m]   (default: 10k 100k)\n";
            return 2;
        }
        sizes.push_back(size->second);
    }
    if (sizes.empty()) sizes = {10000, 100000};
    qputenv("QT_QPA_PLATFORM", "offscreen");

    try {
        for (const int users : sizes) {
            TempFolder folder;
            std::cout << "Generating " << users << " users..." << std::endl;
            const auto start = std::chrono::steady_clock::now();
            buildWorld(folder.path() / "samworld.db", users);
            std::cout << "  in " << std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() << " s" << std::endl;
            setenv("SAMWORLD", (folder.path() / "samworld.db").c_str(), 1);
            // Each domain in a fresh program, so that memory is the program's for that domain.
            const pid_t child = fork();
            if (child == 0) {
                int code = 0;
                {
                    QApplication application(argc, argv);
                    InitDeclarations();
                    std::vector<Figure> own;
                    try {
                        WindowRun(users, folder.path()).run(own);
                    } catch (const std::exception &error) {
                        std::cerr << error.what() << '\n';
                        code = 1;
                    }
                    printTable(own);
                }
                std::fflush(stdout);
                _exit(code);
            }
            int status = 0;
            waitpid(child, &status, 0);
            if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
        }
    } catch (const std::exception &error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
