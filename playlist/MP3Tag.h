#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Reads the ID3v1 tag (the 128-byte trailer) of one MP3 file and offers its
// fields. A file without that trailer gets its fields from its ID3v2 tag,
// Vorbis comments or FLAC tags instead (see playlist::readModernTags), which
// also makes the tag Valid. It only reads: the setters change this object's
// copy and nothing is ever written to a file. ID3v1 fields are byte strings
// exactly as stored in the tag, the others ISO-8859-1 bytes with accents
// folded away; whoever shows them filters the bytes it can display.
//
// Not thread-safe; use one object from one thread.
class TMP3Tag {
public:
    static constexpr int kTextFieldLength = 30;
    static constexpr int kYearLength = 4;
    static constexpr uint8_t kClearedGenreID = 12;

    static constexpr const char* kErrorFileDoesNotExist = "File does not exist!";
    static constexpr const char* kErrorFileTooSmall = "File too small to be a MP3 file!";
    static constexpr const char* kErrorNoTag = "MP3 does not contain a mp3 tag or wrong file format!";

    TMP3Tag();

    const std::string& Filename() const { return m_filename; }
    // Reads the file's tag at once (see ReadTag), then raises onFileNameChange.
    // Throws std::runtime_error when the file exists but cannot be opened or
    // read; the fields are cleared then.
    void SetFilename(const std::string& filename);

    const std::string& Title() const { return m_title; }
    const std::string& Artist() const { return m_artist; }
    const std::string& Album() const { return m_album; }
    const std::string& Year() const { return m_year; }
    const std::string& Comment() const { return m_comment; }
    uint8_t GenreID() const { return m_genreID; }

    // Each setter keeps at most the field's length in bytes and raises onChange.
    void SetTitle(const std::string& title);
    void SetArtist(const std::string& artist);
    void SetAlbum(const std::string& album);
    void SetYear(const std::string& year);
    void SetComment(const std::string& comment);
    void SetGenreID(uint8_t genreID);

    // The last read found a tag.
    bool Valid() const { return m_valid; }
    // Why the last read failed.
    const std::string& Error() const { return m_error; }

    // Stored only; nothing acts on it.
    bool EditAutoSave() const { return m_editAutoSave; }
    void SetEditAutoSave(bool editAutoSave) { m_editAutoSave = editAutoSave; }

    std::function<void(TMP3Tag* Sender)> onFileNameChange;
    std::function<void(TMP3Tag* Sender)> onChange;
    std::function<void(TMP3Tag* Sender, const std::string& Error)> onError;

private:
    void ReadTag();
    bool ReadModernTags();
    void ClearFields();
    void RaiseChange();

    std::string m_filename;
    std::string m_identifier;
    std::string m_title;
    std::string m_artist;
    std::string m_album;
    std::string m_year;
    std::string m_comment;
    uint8_t m_genreID = kClearedGenreID;
    bool m_valid = false;
    std::string m_error;
    bool m_editAutoSave = true;
};
