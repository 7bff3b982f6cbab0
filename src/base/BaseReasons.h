// The reasons of the file helpers: reading whole files and the system's file
// errors in plain words.
#pragma once

#include "base/Reason.h"

#define BRACKWEN_BASE_REASONS(REASON) \
    REASON(NoSuchFile, "file.missing", "no such file") \
    REASON(IsFolder, "file.folder", "it is a folder") \
    REASON(NotRegularFile, "file.irregular", "it is not a regular file") \
    REASON(FileLargerThan, "file.larger", "larger than %1 bytes") \
    REASON(CannotOpenIt, "file.open", "cannot open it: %1") \
    REASON(CannotReadIt, "file.read", "cannot read it: %1") \
    REASON(NoMemoryToRead, "file.memory", "not enough memory to read it") \
    REASON(NoSpaceLeft, "system.nospace", "no space left on the device") \
    REASON(FileTooLarge, "system.toolarge", "file too large") \
    REASON(DiskQuota, "system.quota", "disk quota exceeded") \
    REASON(PermissionDenied, "system.permission", "permission denied") \
    REASON(ReadOnlyFileSystem, "system.readonly", "read-only file system") \
    REASON(InputOutputError, "system.io", "input/output error") \
    REASON(NoSuchFileOrFolder, "system.missing", "no such file or folder") \
    REASON(NotEnoughMemory, "system.memory", "not enough memory") \
    REASON(UnknownError, "system.unknown", "unknown error")

namespace reasons {
BRACKWEN_BASE_REASONS(BRACKWEN_REASON_KIND)
}

// The kinds above, for the check of the languages' wordings.
std::span<const ReasonKind> baseReasons();
