#pragma once
// The four lists of definitions (CLI, function, constant, macro) over an interface set: the main
// interface's records first, then, when every interface is viewed, each inserted interface under
// a header row. They are the only place where records are created, changed and deleted.

#include "ide/interfaces/InterfaceHost.h"
#include "ide/interfaces/model/InterfaceRecords.h"
#include "ide/shell/ShellPrompter.h"
#include "ide/shell/SortableListCtrl.h"

#include <QColor>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace zov::interfaces {

class InterfaceSet;

// What a row stands for: a record of an interface, or (record null) the header of an inserted one.
struct InterfaceItemData {
    int interfaceIndex = -1;  // -1 the main interface, n inserted interface n
    void* record = nullptr;
};

inline const QColor kHeaderRowColour{153, 213, 209};
inline const QColor kReadOnlyRowColour{190, 245, 255};

class InterfaceListCtrl : public shell::SortableListCtrl {
    Q_OBJECT

public:
    explicit InterfaceListCtrl(QWidget* parent = nullptr);
    ~InterfaceListCtrl() override;

    // Columns made, flags kept. Without an owner no edit state is reported.
    void Init(QObject* owner, bool notify, bool edit);
    void SetInterfaceSet(InterfaceSet* set) { set_ = set; }
    InterfaceSet* GetInterfaceSet() const { return set_; }
    void SetHost(InterfaceHost& host) { host_ = &host; }
    void SetPrompter(shell::ShellPrompter& prompter) { prompter_ = &prompter; }
    void SetViewAllInterfaces(bool viewAll);
    bool ViewAllInterfaces() const { return viewAll_; }
    bool NotifyFlag() const { return notify_; }
    bool EditFlag() const { return edit_; }

    // Every row rebuilt from the set.
    virtual void Refill();
    // Each returns whether the set changed.
    virtual bool AddRecord() = 0;
    virtual bool ModifyRecord() = 0;
    virtual bool DeleteRecord();
    // The selected record copied into the target set's main interface; refused on a name the
    // target holds already. Moving removes it from this list's set when the copy succeeded.
    virtual bool CopyRecordTo(InterfaceSet& target);
    virtual bool MoveRecordTo(InterfaceSet& target);

    int SelectedRow() const { return selectedRow_; }
    const InterfaceItemData* ItemDataAt(int row) const;
    // Whether the records of that interface may be changed (the main one always may).
    bool IsEditableInterface(int interfaceIndex) const;

    struct RecordRef {
        int interfaceIndex;
        void* record;
    };

signals:
    // The selected row may be edited (true) or not, or nothing is selected (false).
    void EditStateChanged(bool editable);

protected:
    struct Column {
        const char* heading;
        int width;
    };

    virtual std::vector<Column> Columns() const = 0;
    // The set-wide list of the list's kind, in its order.
    virtual std::vector<RecordRef> SetRecords() const = 0;
    virtual std::string RecordName(const void* record) const = 0;
    virtual std::vector<std::string> RecordTexts(const void* record) const = 0;
    virtual bool HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const = 0;
    virtual void AddCopy(InterfaceSet& target, const void* record) const = 0;
    virtual void RemoveFromSet(const void* record) = 0;
    virtual const char* DuplicateMessage() const = 0;
    virtual const char* DeleteQuestion() const = 0;
    // Before a confirmed delete takes the record away.
    virtual void BeforeDelete(void*) {}

    InterfaceHost& Host() const { return *host_; }
    shell::ShellPrompter& Prompter() const;
    InterfaceSet* Set() const { return set_; }

    // The selected record row's data; null for none or a header row.
    const InterfaceItemData* SelectedRecordRow() const;
    // The interfaces a new record may go to: the main interface, then the inserted ones open
    // for editing. `indexes` gets the inserted index of every entry after the first.
    QStringList OfferedInterfaces(std::vector<int>& indexes) const;
    static int TargetInterface(int choice, const std::vector<int>& indexes);
    // The display name of one interface: the project's for -1.
    QString InterfaceName(int interfaceIndex) const;
    // The record's texts written again into its row.
    void RewriteRow(int row);
    // Rows ordered by interface, header first, then names upper-cased; the selection follows
    // its row.
    void SortRows();
    void Tell(const char* text);
    // 0x467: every view refreshes, when the list was told to notify.
    void NotifyChange();
    void SelectRecord(const void* record);

private:
    int AppendRow(int interfaceIndex, void* record, const QStringList& texts);
    void Paint(int row);
    void OnCurrentItem(int row);

    InterfaceSet* set_ = nullptr;
    InterfaceHost* host_;
    shell::ShellPrompter* prompter_ = nullptr;
    QObject* owner_ = nullptr;
    bool viewAll_ = true;
    bool notify_ = true;
    bool edit_ = true;
    int selectedRow_ = -1;
    std::vector<std::unique_ptr<InterfaceItemData>> items_;
};

class CliListCtrl : public InterfaceListCtrl {
    Q_OBJECT

public:
    using InterfaceListCtrl::InterfaceListCtrl;
    bool AddRecord() override;
    bool ModifyRecord() override;

protected:
    std::vector<Column> Columns() const override;
    std::vector<RecordRef> SetRecords() const override;
    std::string RecordName(const void* record) const override;
    std::vector<std::string> RecordTexts(const void* record) const override;
    bool HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const override;
    void AddCopy(InterfaceSet& target, const void* record) const override;
    void RemoveFromSet(const void* record) override;
    const char* DuplicateMessage() const override;
    const char* DeleteQuestion() const override;
};

class FunctionListCtrl : public InterfaceListCtrl {
    Q_OBJECT

public:
    using InterfaceListCtrl::InterfaceListCtrl;
    bool AddRecord() override;
    bool ModifyRecord() override;

protected:
    std::vector<Column> Columns() const override;
    std::vector<RecordRef> SetRecords() const override;
    std::string RecordName(const void* record) const override;
    std::vector<std::string> RecordTexts(const void* record) const override;
    bool HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const override;
    void AddCopy(InterfaceSet& target, const void* record) const override;
    void RemoveFromSet(const void* record) override;
    const char* DuplicateMessage() const override;
    const char* DeleteQuestion() const override;
};

class ConstantListCtrl : public InterfaceListCtrl {
    Q_OBJECT

public:
    using InterfaceListCtrl::InterfaceListCtrl;
    bool AddRecord() override;
    bool ModifyRecord() override;
    // The first row of that constant modified as the user asks, whatever the edit flag says.
    bool EditConstant(const std::string& name);

protected:
    std::vector<Column> Columns() const override;
    std::vector<RecordRef> SetRecords() const override;
    std::string RecordName(const void* record) const override;
    std::vector<std::string> RecordTexts(const void* record) const override;
    bool HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const override;
    void AddCopy(InterfaceSet& target, const void* record) const override;
    void RemoveFromSet(const void* record) override;
    const char* DuplicateMessage() const override;
    const char* DeleteQuestion() const override;

private:
    bool ModifyRow(int row);
};

class MacroListCtrl : public InterfaceListCtrl {
    Q_OBJECT

public:
    using InterfaceListCtrl::InterfaceListCtrl;
    bool AddRecord() override;
    bool ModifyRecord() override;

    // A new macro of the set made from an edited text (folded into one line), listed, and opened
    // for editing when asked. The name is not checked: callers do.
    MacroRecord* ApplyMacroText(const std::string& name, const std::string& text, bool open, int interfaceIndex);
    // The row of that record shows its body again (after its text was edited).
    void UpdateMacroRow(const MacroRecord& record);
    // The named macro's text opened: editable for the main interface, read-only otherwise.
    void OpenMacro(const std::string& name);

protected:
    std::vector<Column> Columns() const override;
    std::vector<RecordRef> SetRecords() const override;
    std::string RecordName(const void* record) const override;
    std::vector<std::string> RecordTexts(const void* record) const override;
    bool HasOtherNamed(const InterfaceSet& set, const void* exclude, const std::string& name) const override;
    void AddCopy(InterfaceSet& target, const void* record) const override;
    void RemoveFromSet(const void* record) override;
    const char* DuplicateMessage() const override;
    const char* DeleteQuestion() const override;
    void BeforeDelete(void* record) override;
};

}  // namespace zov::interfaces
