#pragma once
// A tab control whose pages are child dialogs or pages (the report options use one). It owns its
// pages and takes as many as it is given.

#include <QTabWidget>

namespace zov::shell {

class CDialogTabCtrl : public QTabWidget {
    Q_OBJECT

public:
    explicit CDialogTabCtrl(QWidget* parent = nullptr);

    // Appends a tab for `page`, which the control owns from now on; the new tab's index.
    int AddPage(QWidget* page, const QString& caption);
    // Shows page `index` only and selects its tab; an index out of range changes nothing.
    void SetActivePage(int index);
    int ActivePage() const { return currentIndex(); }
    QWidget* Page(int index) const { return widget(index); }
};

}  // namespace zov::shell
