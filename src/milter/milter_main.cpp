#include <chrono>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <optional>
#include <libmilter/mfapi.h>
#include <thread>
#include <vector>

#include "host/analyzer_modules.h"
#include "host/settings_location.h"
#include "milter/milter_callbacks.h"
#include "milter/milter_configuration.h"
#include "milter/milter_context.h"
#include "milter/milter_socket.h"
#include "milter/process_control.h"
#include "milter/signal_pipe.h"
#include "tagstrip/version.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

// How long stopping waits for the messages in flight; an MTA that sends nothing for that
// long gets its default action for them.
constexpr std::chrono::seconds kStopGrace{30};

std::optional<std::string> ExplicitConfigDirectory(const MilterOptions& options)
{
    if (options.configDirectory.empty()) {
        return std::nullopt;
    }
    return Absolute(options.configDirectory);
}

std::vector<std::string> ModulePaths(const MilterOptions& options)
{
    if (options.modulePaths.empty()) {
        return FindAnalyzerModules(RunningProgramDirectory());
    }
    std::vector<std::string> paths;
    for (const std::string& path : options.modulePaths) {
        paths.push_back(Absolute(path));
    }
    return paths;
}

std::string Joined(const std::vector<std::string>& paths)
{
    std::string joined;
    for (const std::string& path : paths) {
        joined += (joined.empty() ? "" : ", ") + path;
    }
    return joined.empty() ? "(none)" : joined;
}

class MilterProgram {
public:
    MilterProgram(MilterContext& context, MilterConfiguration& configuration)
        : context(context), configuration(configuration), options(configuration.Options()),
          description(MilterDescription(context))
    {
        context.options.Replace(options);
    }

    int Run()
    {
        std::string error;
        modulePaths = ModulePaths(*options);
        if (!OpenLog(error) || !OpenSocket(error) || !CreatePidFile(error) || !DropPrivilegesIfAsked(error) ||
            !OpenSession(error) || !DetachIfAsked(error) || !pidFile.WriteProcessId(error) || !signals.Open()) {
            std::cerr << "tagstrip-milter: " << (error.empty() ? "cannot set up the signal pipe" : error) << '\n';
            context.log.Error("not started: " + error);
            return kExitFailure;
        }
        context.log.Info("started on " + options->socket + ", modules " + Joined(modulePaths) + ", settings in " +
                         configDirectory);
        return Serve();
    }

private:
    bool OpenLog(std::string& error)
    {
        if (options->logFile.empty()) {
            context.log.UseSyslog();
            return true;
        }
        return context.log.UseFile(Absolute(options->logFile), error);
    }

    bool OpenSocket(std::string& error)
    {
        if (smfi_register(description) != MI_SUCCESS) {
            error = "libmilter refused the filter description";
            return false;
        }
        std::string path = UnixSocketPath(options->socket);
        if (!path.empty() && !ClearStaleSocket(path, error)) {
            return false;
        }
        if (smfi_setconn(const_cast<char*>(options->socket.c_str())) != MI_SUCCESS ||
            smfi_settimeout(options->timeout) != MI_SUCCESS || smfi_opensocket(false) != MI_SUCCESS) {
            error = "cannot listen on " + options->socket + " (in use, or no permission?)";
            return false;
        }
        return path.empty() ||
               SetSocketAccess(path, static_cast<mode_t>(options->socketMode), options->socketGroup, error);
    }

    bool CreatePidFile(std::string& error)
    {
        return options->pidFile.empty() || pidFile.Create(Absolute(options->pidFile), error);
    }

    bool DropPrivilegesIfAsked(std::string& error)
    {
        return options->user.empty() || DropPrivileges(options->user, error);
    }

    // The settings are looked up anew each time, so that a reload finds a directory made
    // since the start.
    bool OpenSession(std::string& error)
    {
        SettingsLocation location;
        if (!LocateSettings(ExplicitConfigDirectory(*options), SettingsAccess::Read, location, error) ||
            !context.sessions.Open(modulePaths, location.directory, error)) {
            return false;
        }
        if (!location.warning.empty()) {
            context.log.Info("warning: " + location.warning);
        }
        configDirectory = location.directory;
        return true;
    }

    bool DetachIfAsked(std::string& error)
    {
        return options->foreground || Daemonize(error);
    }

    // libmilter runs on a thread of its own that, like every thread it starts, blocks the
    // control signals; the main thread takes them and acts on them.
    int Serve()
    {
        SignalPipe::BlockInThisThread();
        std::thread milter([this] {
            milterFailed = smfi_main() != MI_SUCCESS;
            signals.Post(ControlEvent::MilterEnded);
        });
        SignalPipe::UnblockInThisThread();
        bool stopping = false;
        for (;;) {
            switch (signals.Wait()) {
            case ControlEvent::Reload:
                Reload();
                break;
            case ControlEvent::Stop:
                if (!stopping) {
                    stopping = true;
                    FinishMessagesInFlight();
                    smfi_stop();
                }
                break;
            case ControlEvent::MilterEnded:
                milter.join();
                return Finish(stopping);
            }
        }
    }

    // libmilter stops serving every connection once told to stop, so the messages in
    // flight end first; meanwhile new ones pass untouched.
    void FinishMessagesInFlight()
    {
        context.log.Info("stopping: new messages pass untouched, " + std::to_string(context.inFlight.Stop()) +
                         " in flight to finish");
        if (!context.inFlight.WaitUntilIdle(kStopGrace)) {
            context.log.Error("stopping although messages are still in flight: their MTA stopped sending for " +
                              std::to_string(kStopGrace.count()) + " s");
        }
    }

    // The configuration file and the skip lists, then the settings and modules; what the
    // file changes for the connections to come is in force even when the settings fail.
    void Reload()
    {
        std::vector<std::string> problems;
        std::vector<std::string> restartNeeded;
        if (!configuration.Reload(problems, restartNeeded)) {
            for (const std::string& problem : problems) {
                context.log.Error(problem);
            }
            context.log.Error("configuration not read again, the old one stays");
            return;
        }
        for (const std::string& name : restartNeeded) {
            context.log.Info(name + " changed in " + configuration.File() + ": takes effect after a restart");
        }
        options = configuration.Options();
        context.options.Replace(options);
        modulePaths = ModulePaths(*options);
        std::string error;
        if (OpenSession(error)) {
            context.log.Info("settings read again from " + configDirectory + " for the messages to come");
        } else {
            context.log.Error("settings not read again, the old ones stay: " + error);
        }
    }

    int Finish(bool stopRequested)
    {
        context.inFlight.Stop();
        context.sessions.Close();
        pidFile.Remove();
        bool failed = milterFailed || !stopRequested;
        context.log.Info(failed ? "stopped: libmilter ended by itself" : "stopped");
        return failed ? kExitFailure : kExitOk;
    }

    MilterContext& context;
    MilterConfiguration& configuration;
    std::shared_ptr<const MilterOptions> options;
    smfiDesc description;
    SignalPipe signals;
    PidFile pidFile;
    std::vector<std::string> modulePaths;
    std::string configDirectory;
    bool milterFailed = false;
};

int Run(int argc, char** argv)
{
    // Connections may still be open when the process ends, so the context is never
    // destroyed under them.
    auto* context = new MilterContext();
    std::vector<OptionSetting> commandLine;
    MilterOptions asked = DefaultMilterOptions();
    std::string error;
    if (!ReadCommandLine(argc, argv, commandLine, error)) {
        std::cerr << "tagstrip-milter: " << error << "\nRun 'tagstrip-milter --help' for the options.\n";
        return kExitUsage;
    }
    for (const OptionSetting& setting : commandLine) {
        ApplyOption(asked, setting, error);
    }
    if (asked.help) {
        std::cout << MilterHelp();
        return kExitOk;
    }
    if (asked.version) {
        std::cout << "tagstrip-milter " << TAGSTRIP_VERSION << '\n';
        return kExitOk;
    }
    auto* configuration = new MilterConfiguration(commandLine);
    std::vector<std::string> problems;
    bool loaded = configuration->Load(problems);
    for (const std::string& problem : problems) {
        std::cerr << (asked.checkConfig ? "" : "tagstrip-milter: ") << problem << '\n';
    }
    if (asked.checkConfig || !loaded) {
        return loaded ? kExitOk : kExitFailure;
    }
    return MilterProgram(*context, *configuration).Run();
}

}  // namespace

int main(int argc, char** argv)
{
    int status = kExitFailure;
    try {
        status = Run(argc, argv);
    } catch (const std::exception& failure) {
        std::cerr << "tagstrip-milter: " << failure.what() << '\n';
    }
    std::cout.flush();
    // Idle MTA connections may still have threads waiting in libmilter: end without
    // running destructors under them.
    std::_Exit(status);
}
