#include "cli/console.h"

#include "operations/startup.h"
#include "panel/binding.h"
#include "platform/dialogs.h"
#include "platform/paths.h"
#include "platform/text_codec.h"
#include "words/messages.h"

namespace quorvik::cli {
namespace {

// The console has no buttons or menus: where a message says what to do next,
// it names the command line's options. quorvik-cli.exe reads Windows' own
// registry, so it has no prefix to name.
words::Wording consoleWording() {
    const auto nameFolder = [](const std::string& holding) {
#ifdef _WIN32
        return "Name the folder that holds " + holding + " with --settings.";
#else
        return "Name the game's prefix with --prefix, or the folder that holds " + holding +
               " with --settings.";
#endif
    };
    words::Wording wording;
    wording.noDocumentsFolder = nameFolder("Video.scr");
    wording.noSettingsFolder = nameFolder("Video.scr");
    wording.folderFirst = nameFolder("Video.scr");
    // The console loads both files itself before it does anything with them.
    const std::string whenLoaded = "when quorvik-cli loaded the settings";
    wording.video = {nameFolder("Video.scr"), whenLoaded};
    wording.audio = {nameFolder("Audio.scr"), whenLoaded};
    wording.dataReader = "quorvik-cli";
    wording.holder = "quorvik-cli";
    wording.setAgain = "with quorvik-cli set";
    wording.restore = "quorvik-cli restore --from with the entry's name";
    // Nothing waits for an answer before a file is written.
    wording.toWrite = "Writing file";
    return wording;
}

}  // namespace

std::string consoleText(std::string text) {
    for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at)) {
        text.replace(at, 2, "\n");
    }
    return text;
}

Console::Console(std::ostream& out, std::ostream& err, std::unique_ptr<platform::System> system)
    : system_(std::move(system)),
      out(out),
      err(err),
      session(*system_),
      wording(consoleWording()) {}

void Console::message(const std::string& text, int) {
    if (printing) out << consoleText(text) << '\n';
}

void Console::problem(const std::string& text, int) {
    ++problems_;
    err << consoleText(text) << '\n';
}

void Console::notice(const std::string& text, int) {
    err << consoleText(text) << '\n';
}

Exit Console::outcome(std::size_t before) const {
    return problems_ > before ? Exit::Failed : Exit::Done;
}

void Console::start(bool findFolder) {
    // The prefix first, said which and why: the registry comes from it.
    system().choosePrefix();
    operations::GameEntries entries = operations::readGameEntries(system());
    if (entries.exePath) gameExePath = std::move(*entries.exePath);
    session.values = panel::startValues();
    if (!findFolder) return;
    const operations::FolderSearch search = operations::findSettingsFolder(system());
    if (search.found) settingsPath = platform::pathToUtf8(*search.found);
    words::tellFolderSearch(*this, search, wording);
}

void Console::loadBoth() {
    const auto inFolder = [&](const char* name) {
        return system().nativePath(
            settingsPath + static_cast<char>(std::filesystem::path::preferred_separator) + name);
    };
    // A missing file is said as the console's other problems are, with the
    // folder it was looked for in, as named or found; the window keeps its own
    // words for it.
    const auto tellLoadProblem = [&](const platform::Problem& failure, const char* name) {
        if (failure.kind != platform::Problem::Kind::NotFound)
            return words::tellLoadProblem(*this, failure, name);
        problem("quorvik-cli: " + std::string(name) + " was not found in " +
                    words::shownPath(platform::pathFromUtf8(settingsPath)),
                platform::kCritical);
    };
    session.folder = system().nativePath(settingsPath);
    const auto video = session.loadVideo(inFolder("Video.scr"));
    words::tellRecovered(*this, video.recovered, wording);
    if (session.video.problem) tellLoadProblem(*session.video.problem, "Video.scr");
    words::tellDataProblems(*this, video.dataProblems);
    const auto audio = session.loadAudio(inFolder("Audio.scr"));
    words::tellRecovered(*this, audio.recovered, wording);
    if (session.audio.problem) tellLoadProblem(*session.audio.problem, "Audio.scr");
}

}  // namespace quorvik::cli
