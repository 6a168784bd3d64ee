// varo_driver: drives Windows programs for the end-to-end tests. Reads one
// JSON command per line on standard input and answers each with one JSON line
// on standard output. Ends on "quit" or at the end of its input, ending every
// process it started.
#include <windows.h>

#include <optional>
#include <string>

#include "commands.h"
#include "json.h"
#include "processes.h"

namespace {

// Reads up to the next line feed; nothing at the end of the input.
class LineReader {
public:
    explicit LineReader(HANDLE input) : input_(input) {}

    std::optional<std::string> Next() {
        for (;;) {
            if (const std::size_t end = buffer_.find('\n'); end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return line;
            }
            char chunk[4096];
            DWORD read = 0;
            if (!::ReadFile(input_, chunk, sizeof chunk, &read, nullptr) || read == 0) {
                if (buffer_.empty()) return std::nullopt;
                return std::exchange(buffer_, {});
            }
            buffer_.append(chunk, read);
        }
    }

private:
    HANDLE input_;
    std::string buffer_;
};

// WriteFile hands the bytes straight to the pipe: the answer is there for
// the reader as soon as this returns, no runtime buffer to flush.
void WriteLine(HANDLE output, const std::string& line) {
    const std::string withEnd = line + "\n";
    DWORD written = 0;
    ::WriteFile(output, withEnd.data(), static_cast<DWORD>(withEnd.size()), &written, nullptr);
}

}  // namespace

int main() {
    // A test that dies must not leave an error dialog waiting for a person.
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    KeepStdioFromChildren();
    LineReader reader(::GetStdHandle(STD_INPUT_HANDLE));
    const HANDLE output = ::GetStdHandle(STD_OUTPUT_HANDLE);
    DriverSession session;
    while (!session.quitRequested) {
        const std::optional<std::string> line = reader.Next();
        if (!line) break;
        if (line->find_first_not_of(" \t") == std::string::npos) continue;
        std::string error;
        const std::optional<JsonValue> request = ParseJson(*line, &error);
        if (!request) {
            WriteLine(output,
                      JsonValue(JsonValue::Object{{"ok", JsonValue(false)}, {"error", JsonValue("bad JSON: " + error)}})
                          .Serialize());
            continue;
        }
        WriteLine(output, RunCommand(session, *request).Serialize());
    }
    session.processes.KillAll();
    return 0;
}
