// The dialog base of an analyzer's configuration page: the operations the host calls on
// the page (by position, after those of CDialog), keyboard handling across the page's
// edges into the host's controls, and range checks of number fields.
#ifndef TAGSTRIP_PAGE_ANALYZER_PAGE_H
#define TAGSTRIP_PAGE_ANALYZER_PAGE_H

#include "platform/ui/afxwin.h"

class AnalyzerPage : public CDialog {
public:
    explicit AnalyzerPage(CWnd* container);
    ~AnalyzerPage() override;

    void DoDataExchange(CDataExchange* exchange) override;
    BOOL PreTranslateMessage(MSG* message) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;

    virtual void Reserved1();
    // The number of invalid entries.
    virtual int Validate();
    virtual void Reserved3();
    virtual void Reserved4();
    // Stores the entries.
    virtual int Save();
    virtual CWnd* GetFirstControl();
    virtual CWnd* GetLastControl();

    void SetKeyboard(HACCEL table, int firstId, int lastId);
    // 0 when the edit control's number lies within low and high, 1 after a message box.
    int CheckRange(int controlId, UINT messageId, long low, long high);

protected:
    BOOL OnNextControl(UINT commandId);
    BOOL OnPreviousControl(UINT commandId);

    CWnd* container;
    HACCEL accelerators;
    int firstControlId;
    int lastControlId;

private:
    CWnd* ControlOrNull(int id) const;
    // Moves the focus out of the page when it leaves from edgeId, into the host's
    // control that hostControl names; else to the page's next or previous tab stop.
    void MoveFocus(int edgeId, CWnd* (*hostControl)(CWnd*), BOOL previous);
};

#endif
