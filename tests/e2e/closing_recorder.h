// Drives closing_window_recorder.exe for the end-to-end tests: starts it with a set of windows
// and reads back which of them got which messages, and when.
#pragma once

#include <windows.h>

#include "harness.h"

#include <algorithm>
#include <climits>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

class WindowRecorder {
  public:
    struct Message {
        HWND hwnd;
        UINT message;
        DWORD postedAt;  // GetMessageTime, ms
    };

    // Starts the recorder with windows given as "kind:title" (see the recorder's header); as
    // another program, from a copy of it at `exe`.
    WindowRecorder(const std::wstring& folder, const std::vector<std::wstring>& windows,
                   std::wstring exe = {})
        : log_(folder + L"\\recorder-log" + std::to_wstring(++count_) + L".txt") {
        ::DeleteFileW(log_.c_str());
        const std::wstring recorder = e2e::BuildFolder() + L"\\closing_window_recorder.exe";
        if (exe.empty()) {
            exe = recorder;
        } else {
            ::CreateDirectoryW(exe.substr(0, exe.find_last_of(L'\\')).c_str(), nullptr);
            ::CopyFileW(recorder.c_str(), exe.c_str(), FALSE);
        }
        std::wstring command = L"\"" + exe + L"\" \"" + log_ + L"\"";
        for (const std::wstring& window : windows)
            command += L" \"" + window + L"\"";
        process_.Start(command);
        e2e::WaitFor([&] { return Ready(); });
    }
    WindowRecorder(const WindowRecorder&) = delete;
    WindowRecorder& operator=(const WindowRecorder&) = delete;

    bool Ready() const { return ReadLog().find("READY") != std::string::npos; }
    // A recorder whose window promised the clipboard's text takes messages again.
    bool Awake() const { return ReadLog().find("AWAKE") != std::string::npos; }

    // WM_CLOSE requests received, by all of its windows and by the one asked least often.
    int CloseRequests() const { return static_cast<int>(Messages(WM_CLOSE).size()); }
    int FewestCloseRequests() const {
        std::map<HWND, int> received;
        for (const auto& [hwnd, title] : Windows())
            received[hwnd] = 0;
        for (const Message& message : Messages(WM_CLOSE))
            ++received[message.hwnd];
        int fewest = INT_MAX;
        for (const auto& [hwnd, count] : received)
            fewest = std::min(fewest, count);
        return fewest;
    }

    // The window opened with this title.
    HWND Window(const std::wstring& title) const {
        for (const auto& [hwnd, windowTitle] : Windows()) {
            if (windowTitle == title)
                return hwnd;
        }
        return nullptr;
    }

    std::vector<Message> Messages(UINT which) const {
        std::vector<Message> messages;
        std::istringstream lines(ReadLog());
        for (std::string line; std::getline(lines, line);) {
            std::istringstream fields(line);
            std::string tag, hex;
            unsigned long long hwnd = 0;
            unsigned long posted = 0;
            if (!(fields >> tag >> hwnd >> hex >> posted) || tag != "MSG")
                continue;
            UINT message = static_cast<UINT>(std::stoul(hex, nullptr, 16));
            if (message == which) {
                messages.push_back({reinterpret_cast<HWND>(static_cast<UINT_PTR>(hwnd)), message,
                                    static_cast<DWORD>(posted)});
            }
        }
        return messages;
    }

    // The recorder's windows that the system lists now, top to bottom.
    std::vector<HWND> EnumerationOrder() const {
        std::vector<HWND> order;
        DWORD pid = process_.pid();
        struct Walk {
            DWORD pid;
            std::vector<HWND>* order;
        } walk{pid, &order};
        ::EnumWindows(
            [](HWND hwnd, LPARAM data) -> BOOL {
                auto* w = reinterpret_cast<Walk*>(data);
                DWORD owner = 0;
                ::GetWindowThreadProcessId(hwnd, &owner);
                if (owner == w->pid)
                    w->order->push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&walk));
        return order;
    }

  private:
    std::string ReadLog() const { return e2e::ReadFileBytes(log_).value_or(std::string{}); }

    std::map<HWND, std::wstring> Windows() const {
        std::map<HWND, std::wstring> windows;
        std::istringstream lines(ReadLog());
        for (std::string line; std::getline(lines, line);) {
            if (line.rfind("WINDOW ", 0) != 0)
                continue;
            std::istringstream fields(line.substr(7));
            unsigned long long hwnd = 0;
            std::string kind;
            fields >> hwnd >> kind;
            std::string rest;
            std::getline(fields, rest);
            if (!rest.empty() && rest[0] == ' ')
                rest.erase(0, 1);
            int size = ::MultiByteToWideChar(CP_UTF8, 0, rest.data(), static_cast<int>(rest.size()),
                                             nullptr, 0);
            std::wstring title(static_cast<size_t>(size), L'\0');
            ::MultiByteToWideChar(CP_UTF8, 0, rest.data(), static_cast<int>(rest.size()),
                                  title.data(), size);
            windows[reinterpret_cast<HWND>(static_cast<UINT_PTR>(hwnd))] = title;
        }
        return windows;
    }

    inline static int count_ = 0;  // each recorder logs to a file of its own
    std::wstring log_;
    e2e::Process process_;
};
