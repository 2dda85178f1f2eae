#pragma once

// Telling the player what a session's command did, in the order it happened:
// the same words in the window's message boxes and on the console's lines.
// A Teller is where they go; each front end has its own.

#include <string>
#include <vector>

#include "operations/apply.h"
#include "operations/plan.h"
#include "operations/restore.h"
#include "operations/startup.h"
#include "platform/result.h"
#include "platform/text_codec.h"
#include "words/wording.h"

namespace quorvik::words {

class Teller {
public:
    virtual ~Teller() = default;
    // Something done, or to know.
    virtual void message(const std::string& text, int style) = 0;
    // Something not done.
    virtual void problem(const std::string& text, int style) = 0;
    // Something done that was not asked for (a save cut off earlier, finished now).
    virtual void notice(const std::string& text, int style) = 0;
};

// Where start-up found the settings folder, or why it found none.
void tellFolderSearch(Teller& teller, const operations::FolderSearch& search,
                      const Wording& wording);

// Saves cut off earlier that taking the folder finished first.
void tellRecovered(Teller& teller, const std::vector<operations::Recovery>& recovered,
                   const Wording& wording);
// Why a settings file brought nothing: missing, unreadable, or no setting in it.
void tellLoadProblem(Teller& teller, const platform::Problem& problem, const char* name);
// The Data folder's own problems at a load.
void tellDataProblems(Teller& teller, const std::vector<platform::Problem>& problems);

// The messages a save and File > Backup show as each file is written, and a
// cut-off save finished before them.
class Announcer : public operations::Observer {
public:
    Announcer(Teller& teller, const Wording& wording) : teller_(teller), wording_(wording) {}

    void backingUp(const operations::FileChange& change) override;
    void writing(const operations::FileChange& change) override;
    void written(const operations::FileChange& change) override;
    void recovered(const operations::Recovery& recovery) override;

private:
    Teller& teller_;
    const Wording& wording_;
};

// Before a save: the settings files it leaves as they are; a file never
// loaded is passed over without a word, as before any load.
void tellRefusals(Teller& teller, const operations::Plan& plan, const platform::CodePage& codePage,
                  const Wording& wording);
// A plan not carried out, or only in part; true when there was one.
bool tellFailure(Teller& teller, const operations::Report& report);
// After a save: what it left alone in the Data folder, then where the files
// it replaced are kept, where the player should know.
void tellAfterSave(Teller& teller, const operations::Plan& plan, const operations::Report& report,
                   const platform::CodePage& codePage, const Wording& wording);

// File > Backup: the backups not written because their file is not loaded,
// before anything is written.
void tellBackupRefusals(Teller& teller, const operations::Plan& plan, const Wording& wording);
// After File > Backup: where the backups it replaced are kept, when they were
// not Quorvik's own.
void tellAfterBackup(Teller& teller, const operations::Report& report, const Wording& wording);

// After a restore: what was put back and what was left alone.
void tellRestored(Teller& teller, const operations::RestoreChoice& choice,
                  const operations::RestorePlan& restore, const operations::Report& report);

}  // namespace quorvik::words
