// The host's window that holds an analyzer's page. The page moves the keyboard focus into
// the host's controls before and after it through the container's third and fourth added
// operations, which both sides call by position.
#ifndef TAGSTRIP_PAGE_ANALYZER_CONTAINER_H
#define TAGSTRIP_PAGE_ANALYZER_CONTAINER_H

#include "platform/ui/afxwin.h"

class AnalyzerContainer : public CDialog {
public:
    // Puts a page into the container, which owns it from then on.
    virtual void SetPage(CDialog* page) = 0;
    virtual CDialog* GetPage() const = 0;
    // The host's control that takes the focus when it leaves the page backwards or
    // forwards; null when there is none.
    virtual CWnd* GetControlBeforePage() = 0;
    virtual CWnd* GetControlAfterPage() = 0;
};

#endif
