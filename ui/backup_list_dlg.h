#pragma once

#include "dialog/backup_choice.h"

#include <QDialog>

#include <cstddef>
#include <optional>

class QLabel;
class QPushButton;
class QTreeWidget;

// The list of backups: a row per backup, grouped by unit, and the selected row's
// differences from the values the dialog shows now. Open takes the selected row.
class BackupListDlg : public QDialog {
    Q_OBJECT

public:
    explicit BackupListDlg(BackupChoice backups, QWidget* parent = nullptr);

    // The row Open took; none after Cancel.
    std::optional<std::size_t> chosenRow() const { return chosen; }

    QTreeWidget* backupList() const { return list; }
    QTreeWidget* differenceList() const { return differences; }
    QPushButton* openButton() const { return open; }

private:
    std::optional<std::size_t> selectedRow() const;
    void showDifferences();
    void takeSelected();

    BackupChoice choice;
    QTreeWidget* list = nullptr;
    QTreeWidget* differences = nullptr;
    QLabel* emptyNote = nullptr;
    QPushButton* open = nullptr;
    std::optional<std::size_t> chosen;
};
