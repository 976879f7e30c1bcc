// The sweep without questions, on several threads: the start folder's own entries on the
// calling thread, each of its sub-folders swept whole by one worker. Each worker works
// relative to its own folders' descriptors, so it is exactly as link-safe and race-safe as
// the sweep on one thread, and the descriptors it may hold are a share of the whole bound.
// Messages and the removal of the sub-folders themselves stay on the calling thread,
// which owns the start folder and may be the window's thread.
#include <algorithm>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "framework/AfxMessageBox.h"
#include "sweep/Age.h"
#include "ui/VarnokDlg.h"

extern thread_local std::function<void(const CString&)>* t_sweepMessages;

namespace {
// One sub-folder of the start folder: what is needed to sweep it and to decide its removal.
struct Subtree {
    CString name;
    CString dir;
    EntryTimes times;
    bool bHaveTimes = false;
};

// What the workers hand to the calling thread.
struct Event {
    CString message;                // a message to show, or
    const Subtree* done = nullptr;  // a sub-folder swept whole
};
}  // namespace

bool CVarnokDlg::SweepInParallel(std::unique_ptr<Folder> top, const CString& strPattern, const SweepOptions& options,
                                 int nThreads) {
    const char sep = m_fs.Separator();
    const CString prefix = strPattern.Left(strPattern.GetLength() - 3);
    const CTime cutoff = CutoffFor(m_fs.GetCurrentTime(), options.nDays);
    top->Id();  // read once here: the workers only read it afterwards

    // The start folder's own entries: files now, sub-folders for the workers.
    std::deque<Subtree> subtrees;
    bool bCancel = false;  // never set: nothing is asked
    FindData entry;
    while (top->Next(entry)) {
        const CString& strName = entry.strName;
        if (!entry.bDirectory) {
            SweepFile(*top, strName, prefix + strName, cutoff, options, bCancel);
            continue;
        }
        if (strName == "." || strName == "..") continue;
        Subtree& s = subtrees.emplace_back();
        s.name = strName;
        s.dir = prefix + strName;
        s.bHaveTimes = top->GetTimes(strName, s.times);                // before its contents are swept
        if (s.bHaveTimes && s.times.bMountPoint) subtrees.pop_back();  // another file system
    }

    std::mutex mutex;
    std::condition_variable cv;
    std::deque<Event> events;
    size_t next = 0;
    auto post = [&](Event e) {
        std::lock_guard<std::mutex> lock(mutex);
        events.push_back(std::move(e));
        cv.notify_all();
    };
    const int nWorkers = static_cast<int>(std::min<size_t>(static_cast<size_t>(nThreads), subtrees.size()));
    const int nShare = std::max(4, m_fs.MaxOpenFolders() / std::max(1, nWorkers));
    auto work = [&] {
        std::function<void(const CString&)> sink = [&](const CString& text) { post({text, nullptr}); };
        t_sweepMessages = &sink;
        for (;;) {
            const Subtree* s;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (next >= subtrees.size()) break;
                s = &subtrees[next++];
            }
            const CString childPattern = s->dir + sep + "*.*";
            if (std::unique_ptr<Folder> child = top->OpenSubfolder(s->name))
                SweepFrom(std::move(child), childPattern, options, nShare);
            else
                ReportUnlistable(childPattern);
            post({CString(), s});
        }
        t_sweepMessages = nullptr;
    };
    std::vector<std::thread> workers;
    for (int i = 0; i < nWorkers; ++i) workers.emplace_back(work);

    // Show what the workers say, and remove each swept sub-folder when it qualifies.
    for (size_t done = 0; done < subtrees.size();) {
        std::unique_lock<std::mutex> lock(mutex);
        cv.wait(lock, [&] { return !events.empty(); });
        Event e = std::move(events.front());
        events.pop_front();
        lock.unlock();
        if (e.done) {
            FinishSubfolder(*top, e.done->name, e.done->dir, e.done->times, e.done->bHaveTimes, cutoff, options,
                            bCancel);
            ++done;
        } else {
            AfxMessageBox(e.message, MB_ICONERROR | MB_OK);
        }
    }
    for (std::thread& t : workers) t.join();
    for (const Event& e : events)  // said after the last sub-folder was done
        if (!e.done) AfxMessageBox(e.message, MB_ICONERROR | MB_OK);
    return false;
}
