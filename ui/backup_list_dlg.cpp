#include "backup_list_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// A backup's item carries its row index; a unit's heading carries the unit ID instead.
constexpr int rowRole = Qt::UserRole;
constexpr int unitRole = Qt::UserRole + 1;

QString text(const char* japanese, const std::string& subject = {}) {
    return QString::fromStdString(backupText(japanese, subject));
}

// A screen reader names a control by its label, without the mnemonic: the Japanese
// "(&L)" after the words, or the ampersand within them.
QString spoken(QString label) {
    label.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    label.remove(QLatin1Char('&'));
    if (label.endsWith(QLatin1Char(':'))) {
        label.chop(1);
    }
    return label;
}

QTreeWidget* table(const QStringList& headers, QLabel* label) {
    auto* tree = new QTreeWidget;
    tree->setHeaderLabels(headers);
    tree->setAllColumnsShowFocus(true);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    label->setBuddy(tree);
    tree->setAccessibleName(spoken(label->text()));
    return tree;
}

} // namespace

BackupListDlg::BackupListDlg(BackupChoice backups, QWidget* parent)
    : QDialog(parent), choice(std::move(backups)) {
    setWindowTitle(text(backup_text::title));
    auto* layout = new QVBoxLayout(this);

    auto* listLabel = new QLabel(text(backup_text::listLabel));
    list = table({text(backup_text::timeColumn), text(backup_text::unitColumn),
                  text(backup_text::countColumn)},
                 listLabel);
    layout->addWidget(listLabel);
    layout->addWidget(list, 3);

    QTreeWidgetItem* group = nullptr;
    for (std::size_t row = 0; row < choice.rows.size(); ++row) {
        const BackupChoice::Row& backup = choice.rows[row];
        if (group == nullptr || group->data(0, unitRole).toUInt() != backup.unitId) {
            group = new QTreeWidgetItem(list, {text(backup_text::unitGroup, backup.unit), {}, {}});
            group->setData(0, unitRole, backup.unitId);
            group->setFlags(Qt::ItemIsEnabled);
            group->setFirstColumnSpanned(true);
            group->setExpanded(true);
        }
        auto* item = new QTreeWidgetItem(group, {QString::fromStdString(backup.time),
                                                 QString::fromStdString(backup.unit),
                                                 QString::fromStdString(backup.count)});
        item->setData(0, rowRole, static_cast<qulonglong>(row));
        item->setTextAlignment(2, Qt::AlignRight);
    }
    list->expandAll();
    // The count stays beside its heading rather than at the far edge.
    list->header()->setStretchLastSection(false);

    auto* differencesLabel = new QLabel(text(backup_text::differencesLabel));
    differences = table({text(backup_text::fieldColumn), text(backup_text::backupColumn),
                         text(backup_text::shownColumn)},
                        differencesLabel);
    differences->setRootIsDecorated(false);
    layout->addWidget(differencesLabel);
    layout->addWidget(differences, 2);

    if (!choice.emptyText.empty()) {
        // Reachable by Tab, so that a screen reader reads where the backups are kept.
        emptyNote = new QLabel(QString::fromStdString(choice.emptyText));
        emptyNote->setWordWrap(true);
        emptyNote->setTextInteractionFlags(Qt::TextSelectableByKeyboard |
                                           Qt::TextSelectableByMouse);
        emptyNote->setFocusPolicy(Qt::StrongFocus);
        layout->insertWidget(0, emptyNote);
    }

    auto* buttons = new QDialogButtonBox;
    open = buttons->addButton(text(backup_text::openButton), QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(text(backup_text::cancelButton), QDialogButtonBox::RejectRole);
    for (QPushButton* button : {open, cancel}) {
        button->setAccessibleName(spoken(button->text()));
        button->setAutoDefault(false);
    }
    open->setEnabled(false);
    layout->addWidget(buttons);

    connect(list, &QTreeWidget::itemSelectionChanged, this, &BackupListDlg::showDifferences);
    connect(list, &QTreeWidget::itemActivated, this, [this] {
        if (selectedRow()) {
            takeSelected();
        }
    });
    connect(open, &QPushButton::clicked, this, &BackupListDlg::takeSelected);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    resize(560, 480);
    if (emptyNote != nullptr) {
        emptyNote->setFocus();
    } else {
        list->setFocus();
        list->setCurrentItem(list->topLevelItem(0)->child(0));
    }
}

std::optional<std::size_t> BackupListDlg::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) {
        return std::nullopt;
    }
    const QVariant row = selected.constFirst()->data(0, rowRole);
    if (!row.isValid()) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row.toULongLong());
}

void BackupListDlg::showDifferences() {
    differences->clear();
    const auto row = selectedRow();
    open->setEnabled(row.has_value());
    if (!row) {
        return;
    }
    const auto found = choice.differencesOf(*row);
    if (!found || found->empty()) {
        auto* note = new QTreeWidgetItem(
            differences, {text(found ? backup_text::noDifferences : backup_text::notARecord)});
        note->setFirstColumnSpanned(true);
        return;
    }
    for (const FieldDifference& difference : *found) {
        new QTreeWidgetItem(differences, {QString::fromStdString(difference.name),
                                          QString::fromStdString(difference.backupValue),
                                          QString::fromStdString(difference.shownValue)});
    }
}

void BackupListDlg::takeSelected() {
    chosen = selectedRow();
    if (chosen) {
        accept();
    }
}
