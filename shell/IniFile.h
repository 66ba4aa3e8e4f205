// INI files: a section header line in square brackets, then one key=value line per key;
// and the string lists that a section's lines are read into.
#pragma once

#include "shell/Controls.h"

#include <memory>
#include <string>
#include <vector>

// A list of text lines; lines of the form name=value can be looked up by name.
class TStrings : public TObject {
public:
    int Count() const { return static_cast<int>(lines_.size()); }
    const std::string& Strings(int index) const { return lines_.at(index); }
    void Add(const std::string& line) { lines_.push_back(line); }
    void Clear() { lines_.clear(); }

    // The value part of the first line whose name is `name` (letter case aside); empty
    // text when no line has that name.
    std::string GetValue(const std::string& name) const;
    std::string Values(const std::string& name) const { return GetValue(name); }

private:
    std::vector<std::string> lines_;
};

class TStringList : public TStrings {};

// An INI file opened by name. A bare name is kept in the program's own configuration
// folder ($XDG_CONFIG_HOME/<program>/, or ~/.config/<program>/), created on the first
// write; a name with a directory is used as given. Opening touches no file.
//
// Section and key names match whatever their letter case; blanks around names and values
// are not part of them. A write replaces the value of an existing key in its line, adds a
// new key at the end of its section (a new section at the end of the file) and keeps every
// other line as it was. Each write replaces the whole file at once through a temporary
// file in the same folder, so a crash or a full disk never leaves a half-written file.
class TIniFile : public TObject {
public:
    explicit TIniFile(const std::string& fileName);
    ~TIniFile() override;

    // The file's full path.
    const std::string& FileName() const { return path_; }

    // Adds every key=value line of the section to `values`. An absent file or section
    // adds nothing; a file that exists but cannot be read raises Exception.
    void ReadSectionValues(const std::string& section, TStrings* values) const;

    // Writes one value; raises Exception naming the file when it cannot be written, and
    // the file then stays as it was.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);

private:
    // Where the last write left the key lines of its section: the writes that follow it (a
    // save is several writes) need not read the file again while it stays as that write left it.
    struct Written;
    std::string path_;
    std::unique_ptr<Written> written_;
};
