#pragma once
// A readable listing of a download, one operation per line:
//   SetFeature 01 08 00 00 00 00 00 F6
//   WriteUSB <64 bytes>
//   Sleep 20
// Bytes are two upper-case hex digits separated by single spaces. The virtual
// mouse traces the same lines (without the Sleep lines), so a listing and a
// trace can be compared line by line.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "download_job.h"

struct ProfileStore;

std::string HexBytes(std::span<const uint8_t> bytes);
std::string SetFeatureLine(std::span<const uint8_t> command);
std::string WriteUsbLine(std::span<const uint8_t> half);
std::string SleepLine(int milliseconds);

// The lines of one download job.
std::vector<std::string> DownloadJobLines(const DownloadJob& job);

// What the Monitor would send for the current profile of `store`: a full
// download (`full`), or the apply download with the store's part flags. An apply
// without a current profile sends nothing (no lines); a full download without
// one sends the Monitor's reset values.
std::vector<std::string> DownloadReportLines(const ProfileStore& store, bool full);
// The same joined with "\n" after every line.
std::string FormatDownloadReport(const ProfileStore& store, bool full);
