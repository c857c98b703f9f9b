// The configuration page of this analyzer: the Active switch, and for each category its
// points and whether it is removed from the mail. It shows and stores the settings of the
// calling thread's current analyzer instance.
#ifndef TAGSTRIP_PAGE_CONFIG_PAGE_H
#define TAGSTRIP_PAGE_CONFIG_PAGE_H

#include "common/category.h"
#include "page/analyzer_page.h"

class ConfigPage : public AnalyzerPage {
public:
    explicit ConfigPage(CWnd* container);
    ~ConfigPage() override;

    const AFX_MSGMAP* GetMessageMap() const override;
    void DoDataExchange(CDataExchange* exchange) override;
    BOOL OnInitDialog() override;
    int Validate() override;
    int Save() override;

private:
    void OnEnterCommand();
    void OnEscapeCommand();
    BOOL OnToolTipText(UINT id, NMHDR* header, LRESULT* result);
    int& ValueOf(int controlId);

    static const AFX_MSGMAP_ENTRY messageEntries[];
    static const AFX_MSGMAP messageMap;

    int active;
    int remove[CategoryCount];
    int points[CategoryCount];
};

#endif
