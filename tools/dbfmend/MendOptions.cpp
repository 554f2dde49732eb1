// dbfmend's command line, parsed by CLI11.
#include <CLI/CLI.hpp>

#include "MendRun.h"
#include "OrderedRun.h"

namespace mend {
namespace {

const char kDescription[] =
    "Checks and repairs table and memo headers, over tables and folders, with a backup of\n"
    "every byte it overwrites and a way back.\n"
    "Exit status: 0 all sound (or repaired, or restored), 1 findings (check, dry run),\n"
    "2 usage error, 3 a table or backup could not be checked, repaired or restored.";

// "auto" or a byte count of 1 to 65535.
bool ParseBlockSize(const std::string& text, uint16_t* bytes)
{
    if (text == "auto") {
        *bytes = 0;
        return true;
    }
    if (text.empty() || text.size() > 5 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    unsigned long value = std::stoul(text);
    if (value < 1 || value > 65535)
        return false;
    *bytes = static_cast<uint16_t>(value);
    return true;
}

void AddTableOptions(CLI::App* command, std::string* blockSize, std::string* format,
                     MendOptions* options)
{
    command
        ->add_option("--block-size", *blockSize,
                     "memo block size in bytes, or auto: the memo's stored size")
        ->type_name("auto|N");
    command
        ->add_option("--format", *format,
                     "table format, or auto: from the type byte (0x30-0x32 vfp, 0x03 and "
                     "0xF5 fox2)")
        ->check(CLI::IsMember({"auto", "vfp", "fox2"}))
        ->type_name("auto|vfp|fox2");
    command->add_flag("--json", options->json, "one JSON object per table and a summary");
    command->add_flag("-r", options->recursive, "also the folders' sub-folders");
    command
        ->add_option("-j,--jobs", options->jobs,
                     "tables of one folder checked side by side (default: one per "
                     "processor, at most 8)")
        ->check(CLI::Range(1, 64))
        ->type_name("N");
    command->add_option("PATH", options->paths, "table or folder")->required();
}

}  // namespace

int ParseMendOptions(int argc, const char* const* argv, MendOptions* options, std::ostream& out,
                     std::ostream& err)
{
    CLI::App app{kDescription, "dbfmend"};
    options->jobs = DefaultJobs();
    app.require_subcommand(1, 1);
    std::string blockSize = "auto", format = "auto";
    bool noBackup = false;
    CLI::App* check = app.add_subcommand("check", "report each table's findings");
    AddTableOptions(check, &blockSize, &format, options);
    CLI::App* repair = app.add_subcommand("repair", "repair the tables with findings");
    repair->add_flag("--dry-run", options->settings.dryRun,
                     "write nothing; print each field that would change");
    repair->add_flag("--no-backup", noBackup, "write no NAME.dbfmend-undo before repairing");
    AddTableOptions(repair, &blockSize, &format, options);
    CLI::App* undo = app.add_subcommand("undo", "write the bytes saved in backups back");
    undo->add_option("BACKUP", options->paths, "a NAME.dbfmend-undo file")->required();
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        out << app.help();
        return 0;
    } catch (const CLI::ParseError& e) {
        err << "dbfmend: " << e.what() << "\nRun dbfmend --help for the usage.\n";
        return kExitUsage;
    }
    if (!ParseBlockSize(blockSize, &options->settings.blockSize)) {
        err << "dbfmend: --block-size takes auto or a byte count from 1 to 65535, not '"
            << blockSize << "'\n";
        return kExitUsage;
    }
    options->settings.format = format == "vfp"    ? Format::kVisualFoxPro
                               : format == "fox2" ? Format::kFoxPro2
                                                  : Format::kAuto;
    options->settings.backup = !noBackup;
    options->command = check->parsed()    ? Command::kCheck
                       : repair->parsed() ? Command::kRepair
                                          : Command::kUndo;
    options->settings.repair = options->command == Command::kRepair;
    return -1;
}

}  // namespace mend
