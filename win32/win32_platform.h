// The launcher's seam implemented with the real Win32 calls.
#pragma once

#include "../launcher/platform.h"

class Win32Platform final : public Platform {
public:
    Text CurrentDirectory() override;
    Text ExecutableBaseName() override;
    bool FileExists(WStr path) override;
    ReadResult ReadWholeFile(WStr path, std::size_t maxBytes, ByteBuffer& bytes) override;
    Text TextFromAnsi(const std::uint8_t* data, std::size_t size) override;
    void ShowErrorMessage(WStr text) override;
    StartResult StartCommand(WStr program, WStr parameters) override;
    void EndProcess(int exitCode) override;
};

// Makes the calling thread (the window's thread) a single-threaded COM
// apartment for the rest of the process's life; a repeated call only counts
// up. The shell and the imaging decoder both need one.
long EnterComApartment();

// The system's own text for an error number, without the trailing line break.
Text SystemErrorText(unsigned long error);

// The application's title, used for message boxes and the window's title
// until the configuration sets one.
const wchar_t* ApplicationTitle();
