#include "capture/CaptureFiles.h"

#include <windows.h>

#include "capture/ConsoleText.h"
#include "device/recording/FileIdentity.h"
#include "device/recording/FileReplacement.h"
#include "device/recording/SystemError.h"
#include "evaluation/WindowsLineEnds.h"

bool WriteTextFile(const std::string& path, const std::string& text) {
    ReplacementFile file(FromUtf8(path));
    DWORD error = file.Open();
    if (error != ERROR_SUCCESS) {
        ReportError(path + " cannot be created: " + SystemErrorText(error));
        return false;
    }
    error = file.Write(WithWindowsLineEnds(text));
    if (error == ERROR_SUCCESS) {
        error = file.Commit();
    }
    if (error != ERROR_SUCCESS) {
        ReportError(path + " cannot be written: " + SystemErrorText(error));
        return false;
    }
    return true;
}

bool EachFileItsOwn(const CaptureOptions& options) {
    const std::vector<NamedFile> files = FilesOf(options);
    for (std::size_t i = 0; i < files.size(); ++i) {
        for (std::size_t j = i + 1; j < files.size(); ++j) {
            if (NameTheSameFile(FromUtf8(files[i].path), FromUtf8(files[j].path))) {
                ReportError(std::string(files[i].option) + " and " + files[j].option +
                            " name the same file: give two files");
                return false;
            }
        }
    }
    return true;
}

bool TargetsCanBeReplaced(const CaptureOptions& options) {
    for (const std::string* path :
         {&options.outPath, &options.summaryCsvPath, &options.reportPath}) {
        if (path->empty()) {
            continue;
        }
        const DWORD refusal = ReplacementRefusal(FromUtf8(*path));
        if (refusal != ERROR_SUCCESS) {
            ReportError(*path + " cannot be written: " +
                        (refusal == ERROR_DIRECTORY_NOT_SUPPORTED
                             ? std::string("it is a folder, give a file name")
                             : SystemErrorText(refusal)));
            return false;
        }
    }
    return true;
}
