// The help engine on Qt: compiled help files read with chmlib, which is loaded with
// dlopen on first use; a viewer window for topics and pop-ups beside controls.
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/HtmlHelp.h"

// nullptr when chmlib cannot be loaded.
std::unique_ptr<HelpEngine> LoadQtHelpEngine();

// One open help file (exposed for tests).
class ChmFile {
public:
    virtual ~ChmFile() = default;
    // The contents of an object such as "/index.html"; false when it is not there.
    virtual bool Read(const std::string& path, std::string& contents) = 0;
    virtual std::string DefaultTopic() = 0;
    // The window title and the table of contents the help project names; empty when none.
    virtual std::string Title() = 0;
    virtual std::string ContentsFile() = 0;
};
// Opens a help file by name as HtmlHelpA finds it: a bare name in the current folder, then
// beside the executable, then in the installed data folder. nullptr when chmlib or the
// file is missing.
std::unique_ptr<ChmFile> OpenChmFile(const std::string& name);
// The texts of a pop-up topic file, by help number.
std::map<unsigned, std::string> ParsePopupTopics(const std::string& text);

// One entry of a table of contents (.hhc): its depth (0 at the top), its name and topic.
struct ContentsEntry {
    int level = 0;
    std::string name;
    std::string local;
    bool operator==(const ContentsEntry&) const = default;
};
std::vector<ContentsEntry> ParseContents(const std::string& hhc);
