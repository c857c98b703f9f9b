#include "cli/scan_write_back.h"

#include <cstdlib>
#include <ostream>
#include <set>

#include "cli/diagnostics.h"
#include "cli/standard_streams.h"
#include "mailbox/file_io.h"
#include "mailbox/leftovers.h"

namespace {

constexpr int kDefaultLockSeconds = 30;

void Notice(const std::string& source, const std::string& text)
{
    ErrorStream() << "tagstrip: " << source << ": " << text << '\n';
}

}  // namespace

ScanWriteBack::ScanWriteBack(const ParsedCommandLine& commandLine)
    : backup(commandLine.Has("--backup")),
      lockSeconds(commandLine.Has("--lock-wait") ? std::atoi(commandLine.Value("--lock-wait").c_str())
                                                 : kDefaultLockSeconds)
{
}

void ScanWriteBack::RemoveLeftovers(const std::vector<ScanItem>& items) const
{
    std::set<std::pair<std::string, bool>> directories;
    for (const ScanItem& item : items) {
        if (item.kind == ScanItem::MessageFile) {
            directories.emplace(item.stagingDirectory.empty() ? DirectoryOf(item.path) : item.stagingDirectory,
                                !item.stagingDirectory.empty());
        }
    }
    for (const auto& [directory, maildirTmp] : directories) {
        for (const std::string& removed : ::RemoveLeftovers(directory, maildirTmp)) {
            Notice(removed, "removed, left by a stopped run");
        }
    }
}

LockWait ScanWriteBack::Wait() const
{
    return {lockSeconds, [](const std::string& text) { ErrorStream() << "tagstrip: " << text << '\n'; }};
}

bool ScanWriteBack::MessageFile(const ScanItem& item, const std::string& text, std::string& error)
{
    std::string backupPath = backup ? item.backupPath : "";
    std::string replaced;
    if ((backup && !MakeDirectories(DirectoryOf(backupPath), error)) ||
        !ReplaceFile(item.path, text, item.stagingDirectory, backupPath, error, &replaced)) {
        return false;
    }
    ++writtenFiles;
    if (replaced != item.path) {
        written.push_back(item.path + " is now " + FileNameOf(replaced));
    }
    return true;
}

bool ScanWriteBack::Mbox(const ScanItem& item, MboxRewrite& rewrite, std::string& error)
{
    std::string backupPath = backup ? item.backupPath : "";
    if (!rewrite.Commit(backupPath, error)) {
        return false;
    }
    if (rewrite.RewrittenMessages() != 0) {
        written.push_back(item.path + ": " + std::to_string(rewrite.RewrittenMessages()) +
                          " messages rewritten in place" + (backup ? ", original kept as " + backupPath : ""));
    }
    return true;
}

void ScanWriteBack::Report(std::ostream& out) const
{
    if (writtenFiles != 0) {
        out << "Written back: " << writtenFiles << " message files"
            << (backup ? ", originals kept under *.orig/" : "") << '\n';
    }
    for (const std::string& line : written) {
        out << "Written back: " << line << '\n';
    }
}
