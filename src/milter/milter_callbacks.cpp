#include "milter/milter_callbacks.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "host/filtered_message.h"
#include "host/findings.h"
#include "milter/address_list.h"
#include "milter/incoming_message.h"
#include "milter/message_edits.h"

namespace {

// Largest piece of a replaced body handed to the MTA at once.
constexpr std::size_t kBodyChunk = 64 * 1024;

MilterContext* shared = nullptr;

// One MTA connection: the options in force when it came, what was negotiated, the
// message in progress, if any, and whether its recipients so far are all in --skip-to.
struct Connection {
    std::shared_ptr<const MilterOptions> options;
    bool leadingSpaces = false;
    std::unique_ptr<IncomingMessage> message;
    int recipients = 0;
    bool everyRecipientListed = true;
};

Connection* ConnectionOf(SMFICTX* ctx)
{
    auto* connection = static_cast<Connection*>(smfi_getpriv(ctx));
    if (connection == nullptr) {
        connection = new Connection();
        connection->options = shared->options.Current();
        smfi_setpriv(ctx, connection);
    }
    return connection;
}

std::string QueueId(SMFICTX* ctx)
{
    char name[] = "i";
    const char* id = smfi_getsymval(ctx, name);
    return id != nullptr ? id : "NOQUEUE";
}

std::string CategoryList(const bool (&marked)[CategoryCount])
{
    std::string list;
    for (int category = 0; category < CategoryCount; ++category) {
        if (marked[category]) {
            list += (list.empty() ? "" : ",") + std::string(kCategories[category].name);
        }
    }
    return list.empty() ? "-" : list;
}

long long MillisecondsSince(std::chrono::steady_clock::time_point started)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - started).count();
}

// Ends the message in progress, if any, so that stopping no longer waits for it.
void EndMessage(Connection& connection)
{
    if (connection.message != nullptr) {
        connection.message.reset();
        shared->inFlight.End();
    }
}

// Lets the message go on as it came, with a log line: "passed-on:WORD (why)".
sfsistat PassUnchanged(SMFICTX* ctx, Connection* connection, const char* word, const std::string& why)
{
    std::size_t size = connection != nullptr && connection->message != nullptr ? connection->message->Size() : 0;
    shared->log.Info(QueueId(ctx) + ": size=" + std::to_string(size) + " result=passed-on:" + word + " (" + why +
                     ")");
    if (connection != nullptr) {
        EndMessage(*connection);
    }
    return SMFIS_ACCEPT;
}

// Runs one callback step; whatever goes wrong, the message goes on unchanged.
template <typename Step>
sfsistat Guarded(SMFICTX* ctx, Step step)
{
    Connection* connection = nullptr;
    try {
        connection = ConnectionOf(ctx);
        return step(*connection);
    } catch (const std::bad_alloc&) {
        return PassUnchanged(ctx, connection, "out-of-memory", "no memory left");
    } catch (const std::exception& failure) {
        return PassUnchanged(ctx, connection, "internal", failure.what());
    } catch (...) {
        return PassUnchanged(ctx, connection, "internal", "unknown failure");
    }
}

// The message in progress; one is started if the MTA skipped the sender step.
bool EnsureMessage(Connection& connection)
{
    if (connection.message != nullptr) {
        return true;
    }
    if (!shared->inFlight.Begin()) {
        return false;
    }
    connection.message.reset(new IncomingMessage(connection.options->maxSize));
    return true;
}

sfsistat ContinueUnlessTooLarge(SMFICTX* ctx, Connection& connection)
{
    if (connection.message->OverLimit()) {
        return PassUnchanged(ctx, &connection, "too-large",
                             "larger than --max-size " + std::to_string(connection.options->maxSize));
    }
    return SMFIS_CONTINUE;
}

std::string ValueForMta(const Connection& connection, const std::string& value)
{
    bool dropBlank = !connection.leadingSpaces && !value.empty() && value[0] == ' ';
    return dropBlank ? value.substr(1) : value;
}

bool ApplyEdits(SMFICTX* ctx, const Connection& connection, MessageEdits& edits)
{
    for (HeaderChange& change : edits.changes) {
        std::string value = ValueForMta(connection, change.value);
        if (smfi_chgheader(ctx, change.name.data(), change.index, change.deleted ? nullptr : value.data()) !=
            MI_SUCCESS) {
            return false;
        }
    }
    for (HeaderField& field : edits.insertAtTop) {
        std::string value = ValueForMta(connection, field.value);
        if (smfi_insheader(ctx, 0, field.name.data(), value.data()) != MI_SUCCESS) {
            return false;
        }
    }
    for (std::size_t at = 0; edits.replaceBody && at < edits.body.size(); at += kBodyChunk) {
        std::size_t length = std::min(kBodyChunk, edits.body.size() - at);
        auto* chunk = reinterpret_cast<unsigned char*>(&edits.body[at]);
        if (smfi_replacebody(ctx, chunk, static_cast<int>(length)) != MI_SUCCESS) {
            return false;
        }
    }
    return true;
}

// As tagstrip filter --syslog words it: result, score, categories, rewritten or not.
std::string Outcome(const MessageAnalysis& analysis)
{
    if (analysis.inactive) {
        return "result=inactive";
    }
    if (analysis.skipped != nullptr) {
        return std::string("result=skipped:") + analysis.skipped->token;
    }
    CategoryMarks marks = MarksFromFindings(analysis.findings);
    return "result=analysed score=" + std::to_string(analysis.score) + " found=" + CategoryList(marks.found) +
           " removed=" + CategoryList(marks.removed) + " rewritten=" + (analysis.rewritten ? "yes" : "no");
}

// Why the text of the message is to stay as it came (a findings line), or null when it
// may be rewritten.
const char* TextKeptBecause(const MilterOptions& options, const IncomingMessage& message)
{
    if (options.scoreOnly) {
        return "";
    }
    if (options.keepSigned && message.HasField("DKIM-Signature")) {
        return "Not rewritten: the message carries a DKIM signature";
    }
    return nullptr;
}

sfsistat FilterMessage(SMFICTX* ctx, Connection& connection)
{
    auto started = std::chrono::steady_clock::now();
    std::shared_ptr<const HostSession> session = shared->sessions.Current();
    if (session == nullptr) {
        return PassUnchanged(ctx, &connection, "no-session", "no analysis session");
    }
    const std::string& original = connection.message->Text();
    MessageAnalysis analysis;
    const char* kept = TextKeptBecause(*connection.options, *connection.message);
    MessageEdits edits = EditsBetween(original, kept != nullptr ? ScoredMessage(*session, original, analysis, kept)
                                                                : FilteredMessage(*session, original, analysis));
    if (!edits.expressible) {
        return PassUnchanged(ctx, &connection, "header-edits", "header edits cannot reach the filtered header");
    }
    if (!ApplyEdits(ctx, connection, edits)) {
        return PassUnchanged(ctx, &connection, "mta-refused", "the MTA connection failed while changing the message");
    }
    shared->log.Info(QueueId(ctx) + ": size=" + std::to_string(connection.message->Size()) + " " +
                     Outcome(analysis) + " ms=" + std::to_string(MillisecondsSince(started)));
    EndMessage(connection);
    return SMFIS_ACCEPT;
}

sfsistat OnNegotiate(SMFICTX* ctx, unsigned long actions, unsigned long steps, unsigned long, unsigned long,
                     unsigned long* wantedActions, unsigned long* wantedSteps, unsigned long*, unsigned long*)
{
    return Guarded(ctx, [&](Connection& connection) {
        *wantedActions = actions & (SMFIF_ADDHDRS | SMFIF_CHGHDRS | SMFIF_CHGBODY | SMFIF_SETSYMLIST);
        *wantedSteps = steps & SMFIP_HDR_LEADSPC;
        connection.leadingSpaces = (*wantedSteps & SMFIP_HDR_LEADSPC) != 0;
        if ((*wantedActions & SMFIF_SETSYMLIST) != 0) {
            char macros[] = "{auth_authen}";
            smfi_setsymlist(ctx, SMFIM_ENVFROM, macros);
        }
        return SMFIS_CONTINUE;
    });
}

sfsistat PassWhileStopping(SMFICTX* ctx, Connection& connection)
{
    return PassUnchanged(ctx, &connection, "stopping", "the milter is stopping");
}

// A step of the message in progress (started here if the MTA skipped the sender step).
template <typename Step>
sfsistat InMessage(SMFICTX* ctx, Step step)
{
    return Guarded(ctx, [&](Connection& connection) {
        return EnsureMessage(connection) ? step(connection) : PassWhileStopping(ctx, connection);
    });
}

// Mail that is to pass untouched (the site's own, listed senders and recipients): skipped
// whole, with one log line giving the reason.
sfsistat Skip(SMFICTX* ctx, Connection& connection, const std::string& reason)
{
    shared->log.Info(QueueId(ctx) + ": result=skipped (" + reason + ")");
    EndMessage(connection);
    return SMFIS_ACCEPT;
}

std::string EnvelopeAddress(char** arguments)
{
    return arguments != nullptr && arguments[0] != nullptr ? AddressList::Bare(arguments[0]) : "";
}

// Asked once all recipients are known (at the end of the header): a message whose every
// recipient is in --skip-to passes untouched.
bool EveryRecipientListed(const Connection& connection)
{
    return connection.recipients > 0 && connection.everyRecipientListed;
}

sfsistat SkipListedRecipients(SMFICTX* ctx, Connection& connection)
{
    return Skip(ctx, connection, "all " + std::to_string(connection.recipients) + " recipient(s) in --skip-to");
}

sfsistat OnConnect(SMFICTX* ctx, char* hostname, _SOCK_ADDR* address)
{
    return Guarded(ctx, [&](Connection& connection) {
        if (connection.options->localNetworks.Contains(address)) {
            return Skip(ctx, connection,
                        std::string("client ") + (hostname != nullptr ? hostname : "?") + " in --local-net");
        }
        return SMFIS_CONTINUE;
    });
}

sfsistat OnSender(SMFICTX* ctx, char** arguments)
{
    return Guarded(ctx, [&](Connection& connection) {
        EndMessage(connection);
        connection.recipients = 0;
        connection.everyRecipientListed = !connection.options->skipTo.Empty();
        char macro[] = "{auth_authen}";
        const char* user = smfi_getsymval(ctx, macro);
        if (connection.options->skipAuthenticated && user != nullptr && *user != '\0') {
            return Skip(ctx, connection, std::string("authenticated as ") + user);
        }
        std::string sender = EnvelopeAddress(arguments);
        if (connection.options->skipFrom.Matches(sender)) {
            return Skip(ctx, connection, "sender <" + sender + "> in --skip-from");
        }
        return EnsureMessage(connection) ? SMFIS_CONTINUE : PassWhileStopping(ctx, connection);
    });
}

sfsistat OnRecipient(SMFICTX* ctx, char** arguments)
{
    return InMessage(ctx, [&](Connection& connection) {
        ++connection.recipients;
        connection.everyRecipientListed =
            connection.everyRecipientListed && connection.options->skipTo.Matches(EnvelopeAddress(arguments));
        return SMFIS_CONTINUE;
    });
}

sfsistat OnHeader(SMFICTX* ctx, char* name, char* value)
{
    return InMessage(ctx, [&](Connection& connection) {
        connection.message->AddHeader(name, value, connection.leadingSpaces);
        return ContinueUnlessTooLarge(ctx, connection);
    });
}

sfsistat OnEndOfHeader(SMFICTX* ctx)
{
    return InMessage(ctx, [&](Connection& connection) {
        connection.message->EndHeader();
        return EveryRecipientListed(connection) ? SkipListedRecipients(ctx, connection)
                                                : ContinueUnlessTooLarge(ctx, connection);
    });
}

sfsistat OnBody(SMFICTX* ctx, unsigned char* chunk, size_t length)
{
    return InMessage(ctx, [&](Connection& connection) {
        connection.message->AddBody(reinterpret_cast<const char*>(chunk), length);
        return ContinueUnlessTooLarge(ctx, connection);
    });
}

sfsistat OnEndOfMessage(SMFICTX* ctx)
{
    return InMessage(ctx, [&](Connection& connection) {
        connection.message->EndHeader();
        return EveryRecipientListed(connection) ? SkipListedRecipients(ctx, connection)
                                                : FilterMessage(ctx, connection);
    });
}

sfsistat OnAbort(SMFICTX* ctx)
{
    return Guarded(ctx, [&](Connection& connection) {
        EndMessage(connection);
        return SMFIS_CONTINUE;
    });
}

sfsistat OnClose(SMFICTX* ctx)
{
    auto* connection = static_cast<Connection*>(smfi_getpriv(ctx));
    if (connection != nullptr) {
        EndMessage(*connection);
        smfi_setpriv(ctx, nullptr);
        delete connection;
    }
    return SMFIS_CONTINUE;
}

}  // namespace

smfiDesc MilterDescription(MilterContext& context)
{
    shared = &context;
    smfiDesc description{};
    description.xxfi_name = const_cast<char*>("tagstrip-milter");
    description.xxfi_version = SMFI_VERSION;
    description.xxfi_flags = SMFIF_ADDHDRS | SMFIF_CHGHDRS | SMFIF_CHGBODY;
    description.xxfi_connect = OnConnect;
    description.xxfi_envfrom = OnSender;
    description.xxfi_envrcpt = OnRecipient;
    description.xxfi_header = OnHeader;
    description.xxfi_eoh = OnEndOfHeader;
    description.xxfi_body = OnBody;
    description.xxfi_eom = OnEndOfMessage;
    description.xxfi_abort = OnAbort;
    description.xxfi_close = OnClose;
    description.xxfi_negotiate = OnNegotiate;
    return description;
}
