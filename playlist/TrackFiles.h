#pragma once

#include <array>
#include <string_view>

// The audio files the decks play and the play list takes: MP3, WAV, FLAC,
// Ogg Vorbis and Opus. The engine tells them apart by their content; names
// only decide what a dialog shows and what a drop or a folder search picks.
namespace track_files {

// The file dialogs' filter: MP3s first, as they always were, then every
// format at once.
inline constexpr const char* kTrackFilter =
    "mp3 (*.mp3)|*.mp3|audio (*.mp3;*.flac;*.ogg;*.oga;*.opus;*.wav)|*.mp3;*.flac;*.ogg;*.oga;*.opus;*.wav";

// The name endings a dropped track must have, matched with their case.
inline constexpr std::array<std::string_view, 6> kTrackExtensions = {".mp3", ".flac", ".ogg", ".oga", ".opus", ".wav"};

// What the folder search looks for in a dropped folder.
inline constexpr std::array<std::string_view, 6> kFolderSearchMasks = {"*.mp3", "*.flac", "*.ogg",
                                                                       "*.oga", "*.opus", "*.wav"};

} // namespace track_files
