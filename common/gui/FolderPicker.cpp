#include "common/gui/FolderPicker.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace zov {

CFolderPicker::~CFolderPicker() = default;

bool CFolderPicker::AcceptFolder(const QString&, QString& statusText)
{
    statusText.clear();
    return true;
}

QString CleanInitialFolder(QString folder)
{
    while (folder.endsWith(' ')) {
        folder.chop(1);
    }
    if (folder.size() > 1 && (folder.endsWith('/') || folder.endsWith('\\'))) {
        folder.chop(1);
    }
    return folder;
}

int CFolderPicker::Browse(QWidget* owner)
{
    const QFileInfo rootInfo(rootFolder.isEmpty() ? QDir::rootPath() : rootFolder);
    if (!rootInfo.isDir()) {
        return 0;
    }
    const QString root = QDir::cleanPath(rootInfo.absoluteFilePath());

    QDialog dialog(owner);
    dialog.setObjectName(kDialogName);
    if (!caption.isEmpty()) {
        dialog.setWindowTitle(caption);
    }
    auto* layout = new QVBoxLayout(&dialog);

    auto* titleLabel = new QLabel(title.isEmpty() ? QStringLiteral("Open") : title, &dialog);
    titleLabel->setObjectName(kTitleName);
    titleLabel->setWordWrap(true);
    layout->addWidget(titleLabel);

    auto* model = new QFileSystemModel(&dialog);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Drives);
    model->setReadOnly(true);
    model->setRootPath(root);

    auto* tree = new QTreeView(&dialog);
    tree->setObjectName(kTreeName);
    tree->setModel(model);
    tree->setHeaderHidden(true);
    for (int column = 1; column < model->columnCount(); ++column) {
        tree->hideColumn(column);
    }
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(tree, 1);

    // The root itself is the top item, as the operator may choose it: the tree shows the root's
    // parent with every other child hidden (children arrive in the background, hence the signal).
    const bool wholeFileSystem = root == QDir::rootPath();
    if (!wholeFileSystem) {
        const QModelIndex parentIndex = model->index(QFileInfo(root).path());
        tree->setRootIndex(parentIndex);
        const auto hideSiblings = [tree, model, parentIndex, root] {
            for (int row = 0; row < model->rowCount(parentIndex); ++row) {
                tree->setRowHidden(row, parentIndex, model->filePath(model->index(row, 0, parentIndex)) != root);
            }
        };
        QObject::connect(model, &QAbstractItemModel::rowsInserted, &dialog,
                         [hideSiblings, parentIndex](const QModelIndex& parent, int, int) {
                             if (parent == parentIndex) {
                                 hideSiblings();
                             }
                         });
        QObject::connect(model, &QAbstractItemModel::layoutChanged, &dialog, hideSiblings);
        hideSiblings();
    }
    tree->expand(model->index(root));

    auto* status = new QLabel(&dialog);
    status->setObjectName(kStatusName);
    status->setWordWrap(true);
    status->setVisible(showStatusText);
    layout->addWidget(status);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    layout->addWidget(buttons);
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setEnabled(false);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    const auto selectedPath = [tree, model] {
        const QModelIndex current = tree->currentIndex();
        return current.isValid() ? model->filePath(current) : QString();
    };
    const auto refresh = [this, selectedPath, ok, status] {
        const QString path = selectedPath();
        QString statusText;
        const bool accepted = !path.isEmpty() && AcceptFolder(path, statusText);
        ok->setEnabled(accepted);
        status->setText(statusText);
    };
    QObject::connect(tree->selectionModel(), &QItemSelectionModel::currentChanged, &dialog, refresh);

    const QString initial = CleanInitialFolder(initialFolder);
    if (!initial.isEmpty() && QFileInfo(initial).isDir()) {
        const QString path = QDir::cleanPath(QFileInfo(initial).absoluteFilePath());
        const bool underRoot = wholeFileSystem || path == root || path.startsWith(root + '/');
        const QModelIndex index = underRoot ? model->index(path) : QModelIndex();
        if (index.isValid()) {
            tree->setCurrentIndex(index);
            tree->scrollTo(index);
        }
    }
    refresh();
    dialog.resize(360, 420);

    if (dialog.exec() != QDialog::Accepted) {
        return 0;
    }
    const QString chosen = selectedPath();
    if (chosen.isEmpty()) {
        return 0;
    }
    result = chosen;
    return 1;
}

}  // namespace zov
