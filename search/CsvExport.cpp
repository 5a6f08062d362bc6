#include "search/CsvExport.h"

#include "platform/MessageBox.h"
#include "search/SearchView.h"
#include "utils/TextLines.h"
#include "utils/TextUtils.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

void AppendField(std::string &line, std::string_view text) {
    if (!line.empty())
        line += ',';
    line += '"';
    // Doubling inner quotes keeps every reader on the same four cells.
    line += ReplaceAll(text, "\"", "\"\"");
    line += '"';
}

// Closes the descriptor and removes the temporary file unless the save went through.
class TTempFile final {
public:
    explicit TTempFile(const std::string &target) {
        for (int attempt = 0; attempt < 100 && FFd < 0; ++attempt) {
            FPath = target + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
            FFd = open(FPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (FFd < 0 && errno != EEXIST)
                break;
        }
        if (FFd < 0)
            throw EFileError("Cannot create file \"" + FPath + "\": " + std::strerror(errno));
    }
    ~TTempFile() {
        if (FFd >= 0)
            close(FFd);
        if (!FKept)
            std::remove(FPath.c_str());
    }
    TTempFile(const TTempFile &) = delete;
    TTempFile &operator=(const TTempFile &) = delete;

    void Write(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t written = write(FFd, bytes.data(), bytes.size());
            if (written < 0 && errno == EINTR)
                continue;
            if (written <= 0)
                throw EFileError("Cannot write file \"" + FPath + "\": " + std::strerror(errno));
            bytes.remove_prefix(static_cast<std::size_t>(written));
        }
    }

    void RenameTo(const std::string &target) {
        const bool synced = fsync(FFd) == 0;
        const bool closed = close(FFd) == 0;
        FFd = -1;
        if (!synced || !closed)
            throw EFileError("Cannot write file \"" + FPath + "\": " + std::strerror(errno));
        if (std::rename(FPath.c_str(), target.c_str()) != 0)
            throw EFileError("Cannot replace file \"" + target + "\": " + std::strerror(errno));
        FKept = true;
    }

private:
    std::string FPath;
    int FFd = -1;
    bool FKept = false;
};

} // namespace

std::string EnsureCsvExtension(std::string_view fileName) {
    std::string name(fileName);
    if (name.size() < 4 || !EqualsNoCase(std::string_view(name).substr(name.size() - 4), ".csv"))
        name += ".csv";
    return name;
}

std::string ResultsCsvText(const std::vector<TResultRow> &rows) {
    std::string text;
    std::string line;
    for (const char *caption : {"Pos", "Title", "URL Domain", "Keyword used"})
        AppendField(line, caption);
    text += line + "\r\n";
    for (const TResultRow &row : rows) {
        line.clear();
        for (const std::string *cell : {&row.pos, &row.title, &row.domain, &row.keyword})
            AppendField(line, *cell);
        text += line;
        text += "\r\n";
    }
    return text;
}

void WriteResultsCsv(const std::string &fileName, const std::vector<TResultRow> &rows) {
    const std::string text = ResultsCsvText(rows);
    TTempFile file(fileName);
    file.Write(text);
    file.RenameTo(fileName);
}

std::string SaveResultsFailedText(std::string_view fileName) {
    return "The results could not be saved to \"" + std::string(fileName) + "\".";
}

bool SaveResultsToCsv(const std::string &path, std::string_view shownName,
                      const std::vector<TResultRow> &rows, IMessageBox &messageBox) {
    try {
        WriteResultsCsv(path, rows);
        return true;
    } catch (const std::exception &) {
        messageBox.Show(TMsgKind::Warning, SaveResultsFailedText(shownName), TMsgButtons::Ok);
        return false;
    }
}
