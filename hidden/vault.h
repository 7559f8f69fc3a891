// The vault: hidden files deleted from the Hidden Files page are copied
// first into "<data folder>\vault", one copy per file, so the History
// window can put them back.
#pragma once
#include <windows.h>

#include <cstddef>

namespace tov {

// Where the vault keeps the copy of a file: "<data folder>\vault\<hash of
// the full path>\<file name>". False when it does not fit cap.
bool VaultCopyPath(const char* path, char* out, size_t cap);

// Ends a running program of the file, copies the file with its attributes
// and times into the vault and deletes it; then writes the history event
// (370, "*HIDDEN_DeleteFile") and forgets it in the baseline of known hidden
// files. The original is deleted only when its copy is complete; on any
// failure the original stays as it was, nothing is written and error (when
// given) receives the system's error code. Non-zero when the file was
// deleted.
int MoveToVault(const char* title, const char* path, DWORD* error = nullptr);

// Puts a deleted file back from its vault copy (or, for copies made before
// each file had its own, from "<data folder>\vault\<file name>") with its
// bytes, attributes (hidden at least) and last-write time, deletes the copy
// and records the file as known. Never replaces an existing file; false
// when the file exists, no copy is there or the copy failed.
bool RestoreFromVault(const char* path);

// Registers the undo of a deletion ("*HIDDEN_DeleteFile") with the history
// log: RestoreFromVault of the event's path, offered while the file is gone
// and its copy is in the vault.
void RegisterVaultRestoreHandler();

}  // namespace tov
