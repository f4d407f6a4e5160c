// The per-game archive file of club and event name.
#pragma once

void MakeArchivePath();
void WriteArchive();
void LoadArchive();
