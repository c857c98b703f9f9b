// The remote-content analyzer's configuration page: the Active switch, and for each of
// its categories the points and whether it is removed from the mail.
#ifndef TAGSTRIP_REMOTE_REMOTE_PAGE_H
#define TAGSTRIP_REMOTE_REMOTE_PAGE_H

#include "page/analyzer_page.h"
#include "common/remote_category.h"

class RemoteInstance;

class RemotePage : public AnalyzerPage {
public:
    RemotePage(CWnd* container, RemoteInstance* instance);
    ~RemotePage() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    int Validate() override;
    int Save() override;

private:
    void OnEnterCommand();
    void OnEscapeCommand();
    BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);

    static const AFX_MSGMAP_ENTRY messageEntries[];
    static const AFX_MSGMAP messageMap;

    RemoteInstance* instance;
    int active;
    int remove[RemoteCategoryCount];
    int points[RemoteCategoryCount];
};

#endif
