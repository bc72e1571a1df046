// The job the inspector starts a program in, and a record of every process
// that ever joined it: image name, pid, the pid of the process that started
// it, and whether it was still running when the run ended.
//
// The job's completion port announces each new process as it is created,
// before it can end, and a handle is opened on it at once, so even a
// process that lives for a few milliseconds keeps its name and parent.
// The job's list of active processes, read at the end, is the fallback
// for any announcement the system does not send.
#pragma once

#include <windows.h>
#include <tlhelp32.h>

#include <string>
#include <vector>

class JobWatch {
public:
    struct Member {
        DWORD pid = 0;
        DWORD parentPid = 0;
        std::wstring image;            // file name only, as the system reports it
        HANDLE process = nullptr;      // keeps the record readable after the process ends
        bool runningAtEnd = false;     // still running when the inspector ended the job
    };

    JobWatch() {
        InitializeCriticalSection(&lock_);
        job_ = CreateJobObjectW(nullptr, nullptr);
        if (!job_) return;
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        port_ = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{reinterpret_cast<void*>(kJobKey), port_};
        if (port_ && SetInformationJobObject(job_, JobObjectAssociateCompletionPortInformation, &association,
                                             sizeof association))
            listener_ = CreateThread(nullptr, 0, Listen, this, 0, nullptr);
    }

    ~JobWatch() {
        if (listener_) {
            PostQueuedCompletionStatus(port_, 0, kStopKey, nullptr);
            WaitForSingleObject(listener_, 5000);
            CloseHandle(listener_);
        }
        for (Member& member : members_)
            if (member.process) CloseHandle(member.process);
        if (port_) CloseHandle(port_);
        if (job_) CloseHandle(job_);   // ends whatever still runs in it
        DeleteCriticalSection(&lock_);
    }

    JobWatch(const JobWatch&) = delete;
    JobWatch& operator=(const JobWatch&) = delete;

    bool Add(HANDLE process, DWORD pid) {
        tracked_ = job_ && AssignProcessToJobObject(job_, process);
        if (tracked_) Record(pid);
        return tracked_;
    }
    bool Tracked() const { return tracked_; }

    DWORD TotalProcesses() const { return Accounting().TotalProcesses; }

    // Pids of the members still running, read from the job itself.
    std::vector<DWORD> ActivePids() const {
        std::vector<DWORD> pids;
        if (!tracked_) return pids;
        struct {
            JOBOBJECT_BASIC_PROCESS_ID_LIST header;
            ULONG_PTR more[255];
        } list{};
        list.header.NumberOfAssignedProcesses = 256;
        if (!QueryInformationJobObject(job_, JobObjectBasicProcessIdList, &list, sizeof list, nullptr))
            return pids;
        for (DWORD i = 0; i < list.header.NumberOfProcessIdsInList && i < 256; ++i)
            pids.push_back(static_cast<DWORD>(list.header.ProcessIdList[i]));
        return pids;
    }

    // Waits up to ms for every member but those `ignore` accepts to end;
    // true when they all did.
    template <class Ignore>
    bool WaitForMembers(DWORD ms, Ignore&& ignore) {
        const ULONGLONG start = GetTickCount64();
        for (;;) {
            bool anyRunning = false;
            for (DWORD pid : ActivePids()) {
                Record(pid);
                if (!ignore(Find(pid))) anyRunning = true;
            }
            if (!anyRunning) return true;
            if (GetTickCount64() - start >= ms) return false;
            Sleep(50);
        }
    }

    // Ends every member still running; notes which ones those were.
    bool EndRemaining() {
        std::vector<DWORD> running = ActivePids();
        for (DWORD pid : running) {
            Record(pid);
            EnterCriticalSection(&lock_);
            for (Member& member : members_)
                if (member.pid == pid) member.runningAtEnd = true;
            LeaveCriticalSection(&lock_);
        }
        return !running.empty() && TerminateJobObject(job_, 255);
    }

    // Names the members that have none yet, while they still run.
    void Refresh() {
        EnterCriticalSection(&lock_);
        for (Member& member : members_) Complete(member);
        LeaveCriticalSection(&lock_);
    }

    std::vector<Member> Members() {
        EnterCriticalSection(&lock_);
        for (Member& member : members_) Complete(member);
        std::vector<Member> copy = members_;
        LeaveCriticalSection(&lock_);
        return copy;
    }

private:
    static constexpr ULONG_PTR kJobKey = 1;
    static constexpr ULONG_PTR kStopKey = 2;

    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Accounting() const {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts{};
        if (tracked_) QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &counts, sizeof counts,
                                                nullptr);
        return counts;
    }

    static DWORD WINAPI Listen(void* context) {
        auto* self = static_cast<JobWatch*>(context);
        for (;;) {
            DWORD message = 0;
            ULONG_PTR key = 0;
            OVERLAPPED* data = nullptr;
            if (!GetQueuedCompletionStatus(self->port_, &message, &key, &data, INFINITE)) return 0;
            if (key == kStopKey) return 0;
            if (key == kJobKey && message == JOB_OBJECT_MSG_NEW_PROCESS)
                self->Record(static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(data)));
        }
    }

    Member Find(DWORD pid) {
        EnterCriticalSection(&lock_);
        Member found;
        for (Member& member : members_)
            if (member.pid == pid) found = Complete(member);
        LeaveCriticalSection(&lock_);
        return found;
    }

    // Adds pid once, with its name and parent while it can still be asked.
    void Record(DWORD pid) {
        EnterCriticalSection(&lock_);
        bool known = false;
        for (const Member& member : members_) known = known || member.pid == pid;
        if (!known) members_.push_back(Describe(pid));
        LeaveCriticalSection(&lock_);
    }

    static Member Describe(DWORD pid) {
        Member member;
        member.pid = pid;
        member.process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid);
        if (member.process) member.parentPid = ParentOf(member.process);
        return Complete(member);
    }

    // A process announced at its creation has no image yet: its name is
    // asked for again until it is known.
    static Member& Complete(Member& member) {
        if (member.process && member.image.empty()) {
            wchar_t path[MAX_PATH * 2];
            DWORD size = MAX_PATH * 2;
            if (QueryFullProcessImageNameW(member.process, 0, path, &size)) member.image = FileName(path);
        }
        if (member.image.empty() || !member.parentPid) FromSnapshot(member);
        return member;
    }

    static std::wstring FileName(const wchar_t* path) {
        const wchar_t* name = path;
        for (const wchar_t* p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/') name = p + 1;
        return name;
    }

    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    static QueryFn QueryInformationProcess() {
        return reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    }

    static DWORD ParentOf(HANDLE process) {
        struct BasicInformation {
            LONG exitStatus;
            void* peb;
            ULONG_PTR affinity;
            LONG basePriority;
            ULONG_PTR uniqueId;
            ULONG_PTR parentId;
        } info{};
        QueryFn query = QueryInformationProcess();
        if (!query || query(process, 0 /* ProcessBasicInformation */, &info, sizeof info, nullptr) != 0) return 0;
        return static_cast<DWORD>(info.parentId);
    }

    static void FromSnapshot(Member& member) {
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        if (snapshot == INVALID_HANDLE_VALUE) return;
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
            if (entry.th32ProcessID != member.pid) continue;
            if (member.image.empty()) member.image = FileName(entry.szExeFile);
            if (!member.parentPid) member.parentPid = entry.th32ParentProcessID;
            break;
        }
        CloseHandle(snapshot);
    }

    HANDLE job_ = nullptr;
    HANDLE port_ = nullptr;
    HANDLE listener_ = nullptr;
    bool tracked_ = false;
    CRITICAL_SECTION lock_;
    std::vector<Member> members_;
};
