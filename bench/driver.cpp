// Benchmark driver, run once under Wine: starts each program of a job list
// many times, the jobs taking turns, and prints, per job, the median, minimum and maximum time from
// CreateProcess to the moment measured, and the peak working set.
//   driver.exe JOBS.tsv RUNS
// Each line of JOBS.tsv (UTF-8): kind, label, command line, current
// directory, separated by tabs. Kinds:
//   window  until the process shows a visible top-level window whose
//           first paint has begun (no part of it waits to be painted)
//   child   until the program it starts sets the event "bench_child_started"
//   paint   the exit code of a benchmark build: its own microseconds from
//           entry to the first paint (the process time is ignored)
// Every run is printed as it ends ("sample", kind, label, round, ms; -1 for
// a run that failed), then one line per job: kind, label, median, fastest,
// slowest, peak MiB, runs measured.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

struct Sample {
    double milliseconds = -1;
    double peakMiB = 0;
};

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

struct FindWindowOf {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK CheckWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FindWindowOf*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) && !GetWindow(window, GW_OWNER)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

double PeakMiB(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) return -1;
    return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

Sample RunOnce(const char* kind, wchar_t* commandLine, const wchar_t* directory, HANDLE childStarted) {
    Sample sample;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ResetEvent(childStarted);
    double start = Now();
    if (!CreateProcessW(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, directory, &startup,
                        &process)) {
        std::fprintf(stderr, "cannot start %ls (error %lu)\n", commandLine, GetLastError());
        return sample;
    }
    if (std::strcmp(kind, "window") == 0) {
        FindWindowOf search{process.dwProcessId, nullptr};
        while (!search.found && WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT && Now() - start < 20000)
            EnumWindows(CheckWindow, reinterpret_cast<LPARAM>(&search));
        // BeginPaint empties the update region: from then on the picture
        // is being drawn (one BitBlt in the programs measured).
        while (search.found && GetUpdateRect(search.found, nullptr, FALSE) &&
               WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT && Now() - start < 20000) {
        }
        if (search.found) {
            sample.milliseconds = Now() - start;
            Sleep(300);   // let it paint and settle before its memory is read
            sample.peakMiB = PeakMiB(process.hProcess);
            PostMessageW(search.found, WM_CLOSE, 0, 0);
        }
    } else if (std::strcmp(kind, "child") == 0) {
        // The starter may end before its child runs, so no memory figure.
        if (WaitForSingleObject(childStarted, 20000) == WAIT_OBJECT_0) sample.milliseconds = Now() - start;
    }
    if (WaitForSingleObject(process.hProcess, 5000) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    if (std::strcmp(kind, "paint") == 0) {
        DWORD code = 0;
        GetExitCodeProcess(process.hProcess, &code);
        // The benchmark build marks its time with bit 30 (see bench_main.cpp).
        if (code != STILL_ACTIVE && (code & 0xC0000000) == 0x40000000)
            sample.milliseconds = (code & 0x3FFFFFFF) / 1000.0;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return sample;
}

constexpr int kMaxRuns = 64;
constexpr DWORD kSettleMilliseconds = 200;
constexpr int kMaxJobs = 16;

struct Job {
    char kind[16];
    char label[64];
    wchar_t commandLine[4096];
    wchar_t directory[4096];
    Sample samples[kMaxRuns];
    int good = 0;
    double peakMiB = 0;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: driver.exe JOBS.tsv RUNS\n");
        return 2;
    }
    FILE* jobs = std::fopen(argv[1], "rb");
    if (!jobs) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const int runs = std::min(std::max(1, std::atoi(argv[2])), kMaxRuns);
    static Job list[kMaxJobs];
    int jobCount = 0;
    char line[4096];
    while (jobCount < kMaxJobs && std::fgets(line, sizeof line, jobs)) {
        line[std::strcspn(line, "\r\n")] = 0;
        char* fields[4] = {};
        int count = 0;
        for (char* field = std::strtok(line, "\t"); field && count < 4; field = std::strtok(nullptr, "\t"))
            fields[count++] = field;
        if (count != 4) continue;
        Job& job = list[jobCount++];
        std::snprintf(job.kind, sizeof job.kind, "%s", fields[0]);
        std::snprintf(job.label, sizeof job.label, "%s", fields[1]);
        MultiByteToWideChar(CP_UTF8, 0, fields[2], -1, job.commandLine, 4096);
        MultiByteToWideChar(CP_UTF8, 0, fields[3], -1, job.directory, 4096);
    }
    HANDLE childStarted = CreateEventW(nullptr, TRUE, FALSE, L"bench_child_started");
    // Round after round through all jobs, so that a change in the machine's
    // load during the benchmark falls on every program alike. Every other
    // round goes backwards, so that no program always follows the same one,
    // and each run waits until the last one's aftermath (the system closing
    // its windows, freeing its memory) is over: a program started right
    // after an 8000 x 6000 picture or a process ended in its first paint
    // would pay for them.
    for (int run = 0; run < runs; ++run) {
        for (int step = 0; step < jobCount; ++step) {
            Job& job = list[run % 2 ? jobCount - 1 - step : step];
            Sleep(kSettleMilliseconds);
            wchar_t commandLine[4096];
            std::memcpy(commandLine, job.commandLine, sizeof commandLine);   // CreateProcessW may write to it
            Sample sample = RunOnce(job.kind, commandLine, job.directory, childStarted);
            // Each sample too, for ratios of the runs of one round.
            std::printf("sample\t%s\t%s\t%d\t%.2f\n", job.kind, job.label, run, sample.milliseconds);
            if (sample.milliseconds >= 0) job.samples[job.good++] = sample;
            job.peakMiB = std::max(job.peakMiB, sample.peakMiB);
        }
    }
    for (int index = 0; index < jobCount; ++index) {
        Job& job = list[index];
        if (!job.good) {
            std::printf("%s\t%s\tfailed\n", job.kind, job.label);
            continue;
        }
        std::sort(job.samples, job.samples + job.good,
                  [](const Sample& a, const Sample& b) { return a.milliseconds < b.milliseconds; });
        const int good = job.good;
        double median = good % 2 ? job.samples[good / 2].milliseconds
                                 : (job.samples[good / 2 - 1].milliseconds + job.samples[good / 2].milliseconds) / 2;
        std::printf("%s\t%s\t%.2f\t%.2f\t%.2f\t%.2f\t%d\n", job.kind, job.label, median,
                    job.samples[0].milliseconds, job.samples[good - 1].milliseconds, job.peakMiB, good);
    }
    std::fclose(jobs);
    CloseHandle(childStarted);
    return 0;
}
