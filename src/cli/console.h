#pragma once

// What every console command works with: the machine, the session on the
// settings folder, and where the words go. Messages that tell of something
// not done, or done unasked, go to standard error; the rest to standard
// output, while the command prints them. The exit status is the count of
// problems told since a command began.

#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "operations/session.h"
#include "platform/system.h"
#include "words/telling.h"
#include "words/wording.h"

namespace quorvik::cli {

enum class Exit { Done = 0, Failed = 1, Usage = 2 };

// The window's texts as console lines.
std::string consoleText(std::string text);

class Console : public words::Teller {
    // First, so that the session below can be given it.
    std::unique_ptr<platform::System> system_;

public:
    Console(std::ostream& out, std::ostream& err, std::unique_ptr<platform::System> system);

    std::ostream& out;
    std::ostream& err;
    platform::System& system() { return *system_; }
    operations::Session session;
    words::Wording wording;
    // Messages that are not problems are printed only while this is set.
    bool printing = false;

    // The settings folder as typed or found (UTF-8); empty while none is known.
    std::string settingsPath;
    // The game's executable as the registry gives it; nothing when it gave none.
    std::optional<std::string> gameExePath;

    void message(const std::string& text, int style) override;
    void problem(const std::string& text, int style) override;
    void notice(const std::string& text, int style) override;

    std::size_t problems() const { return problems_; }
    // Done, or Failed when a problem was told since `before`.
    Exit outcome(std::size_t before = 0) const;

    // What start-up does before a command: the game's entries read (which
    // chooses the prefix, and says which), and unless a folder was named or
    // none is needed, the settings folder looked for.
    void start(bool findFolder);
    // Loads Video.scr, then Audio.scr, from the settings folder.
    void loadBoth();

private:
    std::size_t problems_ = 0;
};

}  // namespace quorvik::cli
