// varnel-cli: the unit session without a window, for backups, comparisons and scripts.

#include "cli_error.h"
#include "record_view.h"
#include "unit_link.h"

#include "commands/backup_store.h"
#include "commands/outcome.h"
#include "commands/settings_file.h"
#include "commands/unit_session.h"
#include "device/platform/terminal.h"
#include "device/platform/utf8_arguments.h"
#include "device/platform/utf8_path.h"
#include "settings/factory_defaults.h"
#include "settings/settings_image.h"

#include "varnel_config.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>

namespace {

constexpr const char* unitOperand = "unit";

struct Options {
    PortOptions port;
    bool json = false;
    bool yes = false;
    std::string output;
    std::string file;
    std::string other;
    std::vector<std::string> assignments;
    std::string unit;
};

void reportBackupFailure(std::string_view line) {
    std::cerr << "varnel-cli: warning: " << line << '\n';
}

std::optional<BackupStore> backupStore() {
    const auto root = BackupStore::defaultRoot();
    if (!root) {
        reportBackupFailure("no backups: neither XDG_DATA_HOME nor HOME names a folder");
        return std::nullopt;
    }
    return BackupStore(*root, reportBackupFailure);
}

void refuseFile(const std::string& path, int message, const char* readError) {
    const CommandOutcome outcome = outcomeOf(message);
    throw CliError(path + ": " +
                   (outcome == CommandOutcome::FileReadError ? readError : outcomeText(outcome)));
}

// The whole record, for commands that show, compare or rewrite the file byte for byte.
SettingsImage readFile(const std::string& path) {
    SettingsImage image;
    const int message = readRecordFile(image, path);
    if (message != noMessage) {
        refuseFile(path, message, "not readable, or not one 85-byte settings record");
    }
    return image;
}

// The settings as File > Open takes them: from the first record of a longer file too,
// so that restoring a file works the same from both faces.
SettingsImage settingsOfFile(const std::string& path) {
    SettingsImage image;
    const int message = loadSettingsFile(image, path);
    if (message != noMessage) {
        refuseFile(path, message, "not readable, or shorter than one 85-byte settings record");
    }
    return image;
}

void writeFile(const SettingsImage& image, const std::string& path) {
    const int message = saveSettingsFile(image, path);
    if (message != noMessage) {
        throw CliError(path + ": " + outcomeText(outcomeOf(message)));
    }
}

// A connected unit, read once, with the record it sent kept as a backup.
class ReadUnit {
public:
    explicit ReadUnit(const PortOptions& options)
        : session(openPort(options), progressSleep()), store(backupStore()) {
        if (store) {
            session.keepBackupsIn(&*store);
        }
        const CommandOutcome outcome = session.read();
        clearProgress();
        if (!succeeded(outcome)) {
            throw CliError(outcomeText(outcome));
        }
    }

    UnitSession session;

private:
    std::optional<BackupStore> store;
};

void print(const SettingsImage& image, bool json) {
    if (json) {
        std::cout << recordJson(image).dump(2) << '\n';
    } else {
        std::cout << recordText(image);
    }
}

SettingsImage recordOf(const std::string& operand, const PortOptions& port) {
    if (operand == unitOperand) {
        return ReadUnit(port).session.receivedImage();
    }
    return readFile(operand);
}

int runPorts(const Options& o) {
    for (const std::string& port : candidatePorts(o.port)) {
        std::cout << port << '\n';
    }
    return exitOk;
}

int runRead(const Options& o) {
    const ReadUnit unit(o.port);
    if (o.output.empty()) {
        print(unit.session.receivedImage(), o.json);
    } else {
        writeFile(unit.session.receivedImage(), o.output);
    }
    return exitOk;
}

bool confirmed(const std::string& question) {
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    std::getline(std::cin, answer);
    return answer == "y" || answer == "Y" || answer == "yes";
}

int runWrite(const Options& o) {
    const SettingsImage file = settingsOfFile(o.file);
    // Without a terminal to ask on, only --yes says the write is wanted.
    const bool canAsk = standardInputIsTerminal();
    if (!o.yes && !canAsk) {
        throw CliError("not writing without --yes: there is no terminal to ask on");
    }
    ReadUnit unit(o.port);
    UnitSession& session = unit.session;
    // As File > Open does: the settings from the file, the header from the unit.
    std::copy(file.raw().begin() + SettingsImage::firstBlockOffset,
              file.raw().begin() + SettingsImage::verifyLast + 1,
              session.workingImage().raw().begin() + SettingsImage::firstBlockOffset);
    const auto changes = differences(session.receivedImage(), session.workingImage());
    if (changes.empty()) {
        std::cerr << "the unit already holds these settings; nothing written\n";
        return exitOk;
    }
    std::cout << differenceText(changes) << std::flush;
    if (!o.yes && !confirmed("Write these " + std::to_string(changes.size()) + " changes to unit " +
                             std::to_string(session.receivedImage().unitId()) + "?")) {
        throw CliError("not written: the write was not confirmed");
    }
    const CommandOutcome outcome = session.write(WritePacking::of(session.workingImage()));
    clearProgress();
    if (!succeeded(outcome)) {
        throw CliError(outcomeText(outcome) + "; the record read before is in the backups");
    }
    std::cerr << outcomeText(outcome) << '\n';
    return exitOk;
}

int runShow(const Options& o) {
    print(recordOf(o.file, o.port), o.json);
    return exitOk;
}

int runDiff(const Options& o) {
    if (o.file == unitOperand && o.other == unitOperand) {
        throw CliError("compare the unit with a file, not with itself");
    }
    const SettingsImage a = recordOf(o.file, o.port);
    const SettingsImage b = recordOf(o.other, o.port);
    const auto changes = differences(a, b);
    if (o.json) {
        std::cout << differenceJson(changes).dump(2) << '\n';
    } else {
        std::cout << differenceText(changes);
    }
    return changes.empty() ? exitOk : exitDifferent;
}

int runSet(const Options& o) {
    SettingsImage image = readFile(o.file);
    applyAssignments(image, o.assignments);
    writeFile(image, o.output.empty() ? o.file : o.output);
    return exitOk;
}

int runImport(const Options& o) {
    std::ifstream in(o.file);
    if (!in) {
        throw CliError(o.file + ": cannot read the file");
    }
    const nlohmann::json document = nlohmann::json::parse(in, nullptr, false);
    if (document.is_discarded()) {
        throw CliError(o.file + ": not valid JSON");
    }
    writeFile(recordFromJson(document), o.output);
    return exitOk;
}

int runDefaults(const Options& o) {
    SettingsImage image;
    applyFactoryDefaults(image);
    writeFile(image, o.output);
    return exitOk;
}

int runBackups(const Options& o) {
    const auto store = backupStore();
    if (!store) {
        throw CliError("no backup folder: neither XDG_DATA_HOME nor HOME names one");
    }
    nlohmann::json listing = nlohmann::json::object();
    std::vector<unsigned> units = store->units();
    if (!o.unit.empty()) {
        const unsigned long id = std::stoul(o.unit);
        units.assign(1, static_cast<unsigned>(id));
    }
    for (const unsigned id : units) {
        nlohmann::json files = nlohmann::json::array();
        for (const auto& path : store->backupsOf(id)) {
            files.push_back(utf8Of(path));
            if (!o.json) {
                std::cout << id << "  " << utf8Of(path) << '\n';
            }
        }
        listing[std::to_string(id)] = files;
    }
    if (o.json) {
        std::cout << listing.dump(2) << '\n';
    }
    return exitOk;
}

void addOutput(CLI::App* command, Options& o, bool required, const std::string& what) {
    CLI::Option* option = command->add_option("-o,--output", o.output, what);
    if (required) {
        option->required();
    }
}

int runCommandLine(int argc, char** argv) {
    Options o;
    CLI::App app("Reads, compares, edits and writes the settings of a Kelvo governor "
                 "through the QB-7 adapter.",
                 "varnel-cli");
    app.require_subcommand(1);
    app.fallthrough();
    app.add_option("--port", o.port.port,
                   "Use this adapter: a serial device such as /dev/ttyUSB0, or a name that "
                   "\"ports\" prints, such as d2xx:0")
        ->type_name("NAME");
    app.add_option("--driver", o.port.driver, "Load the D2XX driver library at PATH")
        ->type_name("PATH");
    app.add_flag("--simulate", o.port.simulate,
                 "Talk to the simulated adapter and unit (" VARNEL_SIM_LIBRARY_NAME
                 " beside the program)");
    app.add_flag("--json", o.json, "Print JSON instead of text");

    using Runner = int (*)(const Options&);
    std::vector<std::pair<CLI::App*, Runner>> commands;
    const auto command = [&](const char* name, const char* help, Runner run) {
        CLI::App* sub = app.add_subcommand(name, help);
        commands.emplace_back(sub, run);
        return sub;
    };

    command("ports", "List the candidate adapters", runPorts);
    CLI::App* read = command("read", "Read the unit's settings (a backup is kept)", runRead);
    addOutput(read, o, false, "Write them to this .gvx file instead of printing them");
    CLI::App* write = command(
        "write", "Write a .gvx file to the unit, after showing the changes and asking", runWrite);
    write->add_option("FILE", o.file, "Settings file to write")->required();
    write->add_flag("-y,--yes", o.yes, "Do not ask before writing");
    CLI::App* show = command("show", "Every field with key, value, unit and range", runShow);
    show->add_option("SOURCE", o.file, "A .gvx file, or \"unit\" to read the unit")->required();
    CLI::App* diff =
        command("diff", "The fields that differ; status 0 same, 1 different, 2 error", runDiff);
    diff->add_option("A", o.file, "A .gvx file or \"unit\"")->required();
    diff->add_option("B", o.other, "A .gvx file or \"unit\"")->required();
    CLI::App* set = command("set", "Edit fields of a .gvx file, in display units", runSet);
    set->add_option("FILE", o.file, "Settings file to edit")->required();
    set->add_option("KEY=VALUE", o.assignments, "Edits, e.g. governor.target_rpm_1=2100")
        ->required();
    addOutput(set, o, false, "Write the result here instead of over FILE");
    CLI::App* import = command("import", "Make a .gvx file from \"show --json\" output", runImport);
    import->add_option("JSON", o.file, "JSON file")->required();
    addOutput(import, o, true, "The .gvx file to write");
    CLI::App* defaults =
        command("defaults", "Write the factory settings to a .gvx file", runDefaults);
    addOutput(defaults, o, true, "The .gvx file to write");
    CLI::App* backups = command("backups", "List the kept backups, newest first", runBackups);
    backups->add_option("UNIT", o.unit, "Only this unit ID")->check(CLI::Range(0, 65535));

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        const std::vector<std::string> unknown = app.remaining();
        if (app.get_subcommands().empty() && !unknown.empty()) {
            std::cerr << "varnel-cli: unknown command: " << unknown.front() << " (try --help)\n";
            return exitError;
        }
        std::cerr << "varnel-cli: " << e.what() << " (try --help)\n";
        return exitError;
    }
    try {
        for (const auto& [sub, run] : commands) {
            if (sub->parsed()) {
                return run(o);
            }
        }
    } catch (const CliError& e) {
        clearProgress();
        std::cerr << "varnel-cli: " << e.what() << '\n';
        return exitError;
    } catch (const std::exception& e) {
        clearProgress();
        std::cerr << "varnel-cli: " << e.what() << '\n';
        return exitError;
    }
    return exitError;
}

} // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // A file-size limit then fails the save with a message instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    try {
        std::vector<std::string> arguments = utf8Arguments(argc, argv);
        std::vector<char*> pointers;
        pointers.reserve(arguments.size() + 1);
        for (std::string& argument : arguments) {
            pointers.push_back(argument.data());
        }
        pointers.push_back(nullptr);
        return runCommandLine(static_cast<int>(arguments.size()), pointers.data());
    } catch (...) {
        std::fputs("varnel-cli: unexpected failure\n", stderr);
        return exitError;
    }
}
