#ifndef TAGSTRIP_HOST_HOST_SESSION_H
#define TAGSTRIP_HOST_HOST_SESSION_H

#include <memory>
#include <string>

#include "host/analyzer_module.h"
#include "host/skip_reason.h"

// What became of one message.
struct MessageAnalysis {
    bool inactive = false;   // Active=0 in the settings: passed on without calling Analyze
    bool html = false;       // holds "text/html", so the analyzer looked at it
    const SkipReason* skipped = nullptr;  // why the message was passed on unanalysed, if it was
    bool rewritten = false;  // the analyzer replaced the text
    int score = 0;
    std::string findings;
    std::string rewrittenText;  // set only when rewritten, in the message's own line ends
};

// The analyzer module, loaded, with one analyzer instance, in the order the host
// contract asks for: InitAnalyzer, name, order, type, icon, then Analyze per message;
// UnInitAnalyzer and unloading when the session ends.
class HostSession {
public:
    // Loads the module and creates the instance with configDirectory as both the host's
    // and the plug-in's ini directory, and reads whether the analyzer is active. Null
    // with error set on failure.
    static std::unique_ptr<HostSession> Open(const std::string& modulePath,
                                             const std::string& configDirectory, std::string& error);
    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;
    ~HostSession();

    MessageAnalysis Analyze(const std::string& message) const;

    const AnalyzerModule& Module() const { return module; }
    AnalyzerInstance* Instance() const { return instance; }
    bool Active() const { return active; }
    const std::string& Name() const { return name; }
    int Order() const { return order; }
    int Type() const { return type; }
    int IconId() const { return iconId; }

private:
    HostSession() = default;

    AnalyzerModule module;
    AnalyzerInstance* instance = nullptr;
    std::string name;
    int order = 0;
    int type = 0;
    int iconId = 0;
    bool active = true;
};

#endif
