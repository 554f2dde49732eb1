// Parsing and checking pop3stat's options.
#include "Pop3StatArgs.h"

#include "ReplyText.h"

#include <cstdio>

namespace {

// Longer than any password a server takes; a longer first line is not a password file.
constexpr size_t kMaxPasswordLength = 4096;

const char* const kOptions[] = {"--host", "--user",     "--pass",    "--pass-file",
                                "--port", "--security", "--timeout", "--report-level"};

bool IsOption(const std::string& text)
{
    for (const char* option : kOptions) {
        if (text == option)
            return true;
    }
    return false;
}

bool ReadNumber(const std::string& name, const std::string& text, int32_t low, int32_t high,
                int32_t& value, std::string& problem)
{
    if (!ParsePlainInteger(text, value) || value < low || value > high) {
        problem =
            name + " needs a number from " + std::to_string(low) + " to " + std::to_string(high);
        return false;
    }
    return true;
}

// The first line of a file, without CR LF or LF; false when it is too long or unreadable.
// C stdio rather than iostreams: the console tool stays free of the stream library's locale
// machinery, which would double the size of the program.
bool ReadFirstLine(std::FILE* in, std::string& line)
{
    line.clear();
    int c;
    while ((c = std::fgetc(in)) != EOF && c != '\n') {
        if (line.size() == kMaxPasswordLength)
            return false;
        line += static_cast<char>(c);
    }
    if (std::ferror(in))
        return false;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

}  // namespace

bool ParsePop3StatArgs(const std::vector<std::string>& args, Pop3StatArgs& parsed,
                       std::string& problem)
{
    bool haveHost = false, haveUser = false, havePass = false;
    for (size_t i = 0; i < args.size(); i += 2) {
        const std::string& name = args[i];
        if (!IsOption(name)) {
            problem = "argument " + std::to_string(i + 1) + " is not an option";
            return false;
        }
        // A value that is itself an option name means the value was left out.
        if (i + 1 >= args.size() || IsOption(args[i + 1])) {
            problem = name + " needs a value";
            return false;
        }
        const std::string& value = args[i + 1];
        int32_t number = 0;
        if (name == "--host") {
            parsed.host = value;
            haveHost = true;
        } else if (name == "--user") {
            parsed.user = value;
            haveUser = true;
        } else if (name == "--pass" || name == "--pass-file") {
            if (havePass) {
                problem = "give the password once, with --pass or --pass-file";
                return false;
            }
            if (name == "--pass")
                parsed.pass = value;
            else
                parsed.passFile = value;
            havePass = true;
        } else if (name == "--port") {
            if (!ReadNumber(name, value, 1, 65535, number, problem))
                return false;
            parsed.port = number;
        } else if (name == "--security") {
            std::optional<ConnectionSecurity> security = SecurityFromName(value);
            if (!security) {
                problem = "--security needs none, ssl or starttls";
                return false;
            }
            parsed.security = *security;
        } else if (name == "--timeout") {
            // 0 would switch both bounds off and let a silent server hold the tool for ever.
            if (!ReadNumber(name, value, 1, 600000, number, problem))
                return false;
            parsed.timeout = number;
        } else {
            if (!ReadNumber(name, value, 0, 1000, number, problem))
                return false;
            parsed.reportLevel = number;
        }
    }
    if (!haveHost || !haveUser || !havePass) {
        problem = "--host, --user and --pass (or --pass-file) are required";
        return false;
    }
    return true;
}

bool LoadPop3StatPassword(Pop3StatArgs& parsed, std::FILE* standardInput, std::string& problem)
{
    if (!parsed.passFile)
        return true;
    std::string line;
    bool ok;
    if (*parsed.passFile == "-") {
        ok = ReadFirstLine(standardInput, line);
    } else {
        std::FILE* file = std::fopen(parsed.passFile->c_str(), "rb");
        ok = file && ReadFirstLine(file, line);
        if (file)
            std::fclose(file);
    }
    if (!ok) {
        problem = "--pass-file: cannot read a password line of at most " +
                  std::to_string(kMaxPasswordLength) + " bytes";
        return false;
    }
    parsed.pass = line;
    return true;
}
