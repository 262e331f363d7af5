// Numbers of the plug-in's user-visible texts (resources/strings.inc holds the texts).
#pragma once

namespace m5::msg {

constexpr unsigned int kCannotOpenFile = 101;
constexpr unsigned int kGroupFormat = 102;
constexpr unsigned int kItemHzRecording = 103;
constexpr unsigned int kGroupName = 104;
constexpr unsigned int kItemStart = 105;
constexpr unsigned int kItemLength = 106;
constexpr unsigned int kGroupCode = 107;
constexpr unsigned int kInvalidNumber = 108;
constexpr unsigned int kInvalidLayout = 109;
constexpr unsigned int kCaptionError = 110;
constexpr unsigned int kWrongImportMode = 111;
constexpr unsigned int kOldSoftwareLine = 112;
constexpr unsigned int kWrongFileFormat = 113;
constexpr unsigned int kNoPointName = 116;
constexpr unsigned int kNoStationDeclared = 117;
constexpr unsigned int kTargetNamedAsStation = 119;
constexpr unsigned int kInstrumentHeightChanged = 120;
constexpr unsigned int kMaybeOldSoftware = 122;
constexpr unsigned int kGroupAdditional = 123;
constexpr unsigned int kItemEncoding = 124;
constexpr unsigned int kImportFailed = 125;
constexpr unsigned int kReasonOutOfMemory = 126;
constexpr unsigned int kReasonSystemError = 127;
constexpr unsigned int kReasonUnknown = 128;
constexpr unsigned int kMalformedText = 129;
constexpr unsigned int kUnknownUnit = 130;
constexpr unsigned int kPointNotPlaced = 131;
constexpr unsigned int kPointHeightStationing = 132;
constexpr unsigned int kPointStationReplaced = 133;
constexpr unsigned int kPointValuesUnreadable = 134;
constexpr unsigned int kInstrumentHeightNotUsed = 135;
constexpr unsigned int kUnitOfAnotherQuantity = 136;
// What a block of each quantity needs, as 136 says it.
constexpr unsigned int kNeedsAngleUnit = 137;
constexpr unsigned int kNeedsLengthUnit = 138;
constexpr unsigned int kNeedsTemperatureUnit = 139;
constexpr unsigned int kNeedsPressureUnit = 140;
constexpr unsigned int kSectionSkipped = 141;
constexpr unsigned int kSectionSkippedToEnd = 142;
constexpr unsigned int kPointTypesUnknown = 143;
// A line's data blocks not imported, each with why, as 144 lists them.
constexpr unsigned int kBlocksNotImported = 144;
constexpr unsigned int kWhyValueUnreadable = 145;
constexpr unsigned int kWhySurveyValueUnreadable = 146;
constexpr unsigned int kWhyTypeUnknown = 147;
constexpr unsigned int kWhyUnitUnfit = 148;
constexpr unsigned int kWhyNotReadHere = 149;
constexpr unsigned int kRestNotRead = 150;

}  // namespace m5::msg
