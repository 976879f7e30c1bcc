#include "tests/support/MemoryFileSystem.h"

#include <algorithm>

namespace {
std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

class MemoryFolder : public Folder {
public:
    MemoryFolder(MemoryFileSystem& fs, MemoryFileSystem::Node* node) : m_fs(fs), m_node(node) {
        m_fs.FolderOpened();
        if (node->parent) {
            m_entries.push_back({true, false, "."});
            m_entries.push_back({true, false, ".."});
        }
        for (auto& c : node->children) m_entries.push_back({c->directory, c->readOnly, c->name});
    }
    ~MemoryFolder() override { m_fs.FolderClosed(); }
    bool Empty() const { return m_entries.empty(); }
    FolderId Id() override { return FolderId{1, reinterpret_cast<std::uintptr_t>(m_node)}; }

    bool Next(FindData& entry) override {
        if (m_next >= m_entries.size()) return false;
        entry = m_entries[m_next++];
        return true;
    }
    MemoryFileSystem::Node* Child(const CString& name) {
        for (auto& c : m_node->children)
            if (Upper(c->name) == Upper(name.str())) return c.get();
        return nullptr;
    }
    bool Lookup(const CString& name, FindData& entry) override {
        auto* c = Child(name);
        if (!c) return false;
        entry = {c->directory, c->readOnly, c->name};
        return true;
    }
    bool GetTimes(const CString& name, EntryTimes& times) override {
        auto* c = Child(name);
        if (!c || c->timesUnreadable) return false;
        times = {c->lastAccess, c->lastWrite, c->mountPoint};
        return true;
    }
    std::unique_ptr<Folder> OpenSubfolder(const CString& name) override {
        auto* c = Child(name);
        if (!c || !c->directory || c->unlistable || c->mountPoint) return nullptr;
        return std::make_unique<MemoryFolder>(m_fs, c);
    }
    bool SetNormalAttributes(const CString& name, unsigned* pOld) override {
        auto* c = Child(name);
        if (!c) return false;
        if (pOld) *pOld = (c->readOnly ? 1u : 0u) | (c->hidden ? 2u : 0u);
        c->readOnly = c->hidden = false;
        m_fs.Record("attrib " + m_fs.PathOf(c));
        return true;
    }
    bool RestoreAttributes(const CString& name, unsigned old) override {
        auto* c = Child(name);
        if (!c) return false;
        c->readOnly = old & 1u;
        c->hidden = old & 2u;
        m_fs.Record("restore " + m_fs.PathOf(c));
        return true;
    }
    bool DeleteFile(const CString& name) override {
        auto* c = Child(name);
        if (!c || c->directory || c->readOnly || c->undeletable) return false;
        m_fs.Record("delete " + m_fs.PathOf(c));
        Remove(c);
        return true;
    }
    bool RemoveDirectory(const CString& name) override {
        auto* c = Child(name);
        if (!c || !c->directory || !c->children.empty() || c->undeletable || c->readOnly) return false;
        m_fs.Record("rmdir " + m_fs.PathOf(c));
        Remove(c);
        return true;
    }

private:
    void Remove(MemoryFileSystem::Node* c) {
        auto& v = m_node->children;
        v.erase(std::find_if(v.begin(), v.end(), [c](auto& p) { return p.get() == c; }));
    }
    MemoryFileSystem& m_fs;
    MemoryFileSystem::Node* m_node;
    std::vector<FindData> m_entries;  // a snapshot: deleting does not disturb the listing
    size_t m_next = 0;
};
}  // namespace

MemoryFileSystem::MemoryFileSystem() = default;

void MemoryFileSystem::AddDrive(char letter, bool remote) {
    auto root = std::make_unique<Node>();
    root->name = std::string(1, letter) + ":\\";
    root->directory = true;
    m_drives[letter] = std::move(root);
    m_remote[letter] = remote;
}

MemoryFileSystem::Node* MemoryFileSystem::Resolve(const std::string& path) {
    if (path.rfind("\\\\", 0) == 0) return nullptr;  // shares are not modelled
    if (path.size() < 2 || path[1] != ':')
        return path.empty() ? nullptr : Resolve("C:\\" + path);  // relative: the current folder is the root of C
    auto d = m_drives.find(Upper(path.substr(0, 1))[0]);
    if (d == m_drives.end()) return nullptr;
    Node* node = d->second.get();
    for (const std::string& part : Split(path.substr(2))) {
        if (part == ".") continue;
        if (part == "..") {
            if (node->parent) node = node->parent;
            continue;
        }
        if (!node->directory) return nullptr;
        Node* next = nullptr;
        for (auto& c : node->children)
            if (Upper(c->name) == Upper(part) || (!c->shortName.empty() && Upper(c->shortName) == Upper(part)))
                next = c.get();
        if (!next) return nullptr;
        node = next;
    }
    return node;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) { return Resolve(path); }

MemoryFileSystem::Node* MemoryFileSystem::Create(const std::string& path, bool directory, CTime written) {
    if (written == CTime(-1)) written = m_now;
    Node* node = m_drives.at(Upper(path.substr(0, 1))[0]).get();
    std::vector<std::string> parts = Split(path.substr(2));
    for (size_t i = 0; i < parts.size(); ++i) {
        Node* next = nullptr;
        for (auto& c : node->children)
            if (Upper(c->name) == Upper(parts[i])) next = c.get();
        if (!next) {
            auto n = std::make_unique<Node>();
            n->name = parts[i];
            n->directory = i + 1 < parts.size() || directory;
            n->lastWrite = n->lastAccess = written;
            n->parent = node;
            next = n.get();
            node->children.push_back(std::move(n));
        }
        node = next;
    }
    return node;
}

MemoryFileSystem::Node* MemoryFileSystem::AddFolder(const std::string& path, CTime written) {
    return Create(path, true, written);
}
MemoryFileSystem::Node* MemoryFileSystem::AddFile(const std::string& path, CTime written) {
    return Create(path, false, written);
}

std::string MemoryFileSystem::PathOf(const Node* node) const {
    if (!node->parent) return node->name;
    std::string parent = PathOf(node->parent);
    if (parent.back() != '\\') parent += '\\';
    return parent + node->name;
}

std::unique_ptr<Folder> MemoryFileSystem::OpenFolder(const CString& pattern) {
    const std::string& p = pattern.str();
    if (p.size() < 3 || p.compare(p.size() - 3, 3, "*.*") != 0) return nullptr;
    Node* node = Resolve(p.substr(0, p.size() - 3));
    if (!node || !node->directory || node->unlistable) return nullptr;
    auto folder = std::make_unique<MemoryFolder>(*this, node);
    if (folder->Empty()) return nullptr;  // a drive root with no entries lists nothing
    return folder;
}

bool MemoryFileSystem::Exists(const CString& path) {
    const std::string& p = path.str();
    if (p.find_first_of("*?") != std::string::npos) return false;
    return Resolve(p) != nullptr;
}

bool MemoryFileSystem::ResolveFolder(const CString& path, CString& realPath, FolderId& id) {
    const std::string& p = path.str();
    if (p.size() < 3 || p[1] != ':' || p[2] != '\\') return false;  // no current folder here
    Node* node = Resolve(p);
    if (!node || !node->directory) return false;
    realPath = PathOf(node);
    id = FolderId{1, reinterpret_cast<std::uintptr_t>(node)};
    return true;
}

std::vector<CString> MemoryFileSystem::GetLogicalDriveStrings() {
    std::vector<CString> v;
    for (auto& [letter, root] : m_drives) v.emplace_back(root->name);
    return v;
}

bool MemoryFileSystem::IsRemoteDrive(const CString& root) {
    if (root.GetLength() < 1) return false;
    auto it = m_remote.find(root[0]);
    return it != m_remote.end() && it->second;
}

bool MemoryFileSystem::GetShortPathName(const CString& longPath, CString& shortPath) {
    const std::string& p = longPath.str();
    Node* node = Resolve(p);
    if (!node) return false;
    std::string result;
    for (Node* n = node; n; n = n->parent) {
        if (!n->parent) {
            result = n->name + result;
        } else {
            result = (n->shortName.empty() ? n->name : n->shortName) + (result.empty() ? "" : "\\") + result;
        }
    }
    if (!p.empty() && p.back() == '\\' && result.back() != '\\') result += '\\';
    shortPath = result;
    return true;
}

CTime MemoryFileSystem::GetCurrentTime() {
    ++m_clockReads;
    CTime t = m_now;
    m_now = m_now + CTimeSpan(m_tick);
    return t;
}
