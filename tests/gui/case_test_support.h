#pragma once
// What the case tests share: the main window on a folder of hand-worked texts, the Case window
// opened from it, and what the file list, a table and the audit log show.

#include <QFile>
#include <QFileSystemModel>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>
#include <string>
#include <utility>
#include <vector>

#include "forms/program_context.h"
#include "gui_test_support.h"
#include "ui/case_panel.h"
#include "ui/case_window.h"
#include "ui/job_runner.h"
#include "ui/main_window.h"

namespace pelmora::testing {

using Names = std::vector<std::string>;
using Rows = std::vector<Names>;

inline void chooseFolder(MainWindow& window, const QString& folder) {
    auto* tree = child<QTreeView>(&window, "Dir1");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    QVERIFY(model != nullptr);
    tree->setCurrentIndex(model->index(folder));
}

// What the file list shows, role letters included.
inline Names shownList(QListWidget* list) {
    auto* delegate = dynamic_cast<RoleLetterDelegate*>(list->itemDelegate());
    Q_ASSERT(delegate != nullptr);
    Names shown;
    for (int row = 0; row < list->count(); ++row) {
        shown.push_back(delegate->shownText(list->model()->index(row, 0)).toStdString());
    }
    return shown;
}

// The cells of a table, row by row, in the given columns (every column when none are given).
inline Rows cells(QWidget* window, const char* table, QList<int> columns = {}) {
    const QAbstractItemModel* model = child<QTableView>(window, table)->model();
    if (columns.isEmpty()) {
        for (int c = 0; c < model->columnCount(); ++c) {
            columns.append(c);
        }
    }
    Rows rows;
    for (int r = 0; r < model->rowCount(); ++r) {
        Names row;
        for (const int c : columns) {
            row.push_back(model->index(r, c).data().toString().toStdString());
        }
        rows.push_back(row);
    }
    return rows;
}

// The main window on a folder of the first `count` hand-worked texts.
struct HandFolderWindow {
    explicit HandFolderWindow(std::size_t count = std::size(testing::kHandTexts)) {
        if (!folder.isValid() || !testing::writeHandFolder(folder.path(), count)) {
            qFatal("cannot write the hand-worked texts");
        }
        window.show();
        chooseFolder(window, folder.path());
    }
    QTemporaryDir folder;
    ProgramContext context;
    MainWindow window{context};
};

inline CaseWindow* openCase(MainWindow& window) {
    QTest::mouseClick(child<QPushButton>(&window, "cmdCase"), Qt::LeftButton);
    CaseWindow* found = window.casePanel()->caseWindow();
    Q_ASSERT(found != nullptr && found->isVisible());
    static_cast<void>(found->runner()->wait());
    return found;
}

inline QString writeCsv(const QTemporaryDir& dir, const QByteArray& bytes) {
    const QString path = dir.filePath(QStringLiteral("meta.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
    return path;
}

// The log's action column and the chain's state, once the Case window has read the log again.
inline std::pair<Names, QString> shownLog(CaseWindow* caseWindow) {
    if (caseWindow->logRunner()->running()) {
        static_cast<void>(caseWindow->logRunner()->wait());
    }
    Names actions;
    for (const Names& row : cells(caseWindow, "tblAuditLog", {2})) {
        actions.push_back(row.front());
    }
    return {actions, child<QLabel>(caseWindow, "lblChainState")->text()};
}

}  // namespace pelmora::testing
