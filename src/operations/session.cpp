#include "operations/session.h"

#include "operations/history.h"

namespace quorvik::operations {

std::vector<Recovery> Session::tidy() {
    return folder ? sweepIfIdle(system_, *folder) : std::vector<Recovery>{};
}

Session::Loading Session::loadVideo(const std::filesystem::path& file) {
    Loading loading{tidy(), {}};
    video = loadSettingsFile(system_, file, Place::Video, values);
    // A file that could not be read stops here: nothing more of this load changes.
    const bool unreadable =
        video.problem && video.problem->kind == platform::Problem::Kind::Unreadable;
    if (folder && !unreadable)
        data = readDataFolder(system_, *folder, values, loading.dataProblems);
    return loading;
}

Session::Loading Session::loadAudio(const std::filesystem::path& file) {
    Loading loading{tidy(), {}};
    audio = loadSettingsFile(system_, file, Place::Audio, values);
    return loading;
}

bool Session::placeLoaded(Place place) const {
    return place == Place::Video   ? videoLoaded()
           : place == Place::Audio ? audioLoaded()
                                   : data.read;
}

Plan Session::planOfSave(BackupMark mark) const {
    return planSave({folder, video, audio, data, values, typed, mark, system_.codePage()});
}

Report Session::save(const Plan& plan, bool force, Observer* observer) {
    Report report = apply(system_, plan, {force, "a save"}, observer);
    if (report.done()) recordWritten(plan, video, audio, data);
    return report;
}

std::vector<std::string> Session::changedSinceLoaded(const Plan& plan) {
    return operations::changedSinceLoaded(system_, plan);
}

Plan Session::planOfBackup(BackupMark mark) const {
    return planBackup(folder.value_or(std::filesystem::path()), video, audio, mark);
}

Report Session::backUp(const Plan& plan, Observer* observer) {
    return apply(system_, plan, {false, "a backup"}, observer);
}

std::vector<RestoreChoice> Session::restoreChoices() {
    if (!folder) return {};
    return operations::restoreChoices(system_, *folder);
}

RestorePlan Session::planOfRestore(const RestoreChoice& choice) {
    return planRestore(system_, folder.value_or(std::filesystem::path()), choice);
}

Report Session::restore(const RestorePlan& restore, Observer* observer) {
    return apply(system_, restore.plan, {false, restore.what}, observer);
}

}  // namespace quorvik::operations
