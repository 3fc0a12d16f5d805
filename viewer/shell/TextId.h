#pragma once

#include <array>

#include "platform/MessageBoxService.h"

// Numbers of the texts in the string table. Language texts are looked up as language base +
// id; the shared ones by their plain id.
namespace TextId {

// Shared, no language base.
inline constexpr int kMapBase = 1;
// The maker's web site, opened from the about window.
inline constexpr int kMakerAddress = 2;
inline constexpr int kLanguageCount = 1000;
inline constexpr int kLanguageEnglish = 1001;
inline constexpr int kLanguageChinese = 1002;

// Under each language base.
inline constexpr int kUnitCount = 1000;
inline constexpr int kUnitKmh = 1001;
inline constexpr int kUnitMph = 1002;
inline constexpr int kUnitKnots = 1003;
inline constexpr int kCaption = 1100;
inline constexpr int kLongitude = 1101;
inline constexpr int kLatitude = 1102;
inline constexpr int kTimeZoneCount = 2000;
inline constexpr int kFirstTimeZone = 2001;
inline constexpr int kLastTimeZone = 2025;

inline constexpr int kInformationPrompted = 3000;
inline constexpr int kNoMediaSelected = 3001;
inline constexpr int kSelectFromList = 3002;
inline constexpr int kConfirmTitle = 3003;
inline constexpr int kDeleteAllQuestion = 3004;
inline constexpr int kMp4Filter = 3005;
inline constexpr int kOpenMediaTitle = 3006;
inline constexpr int kNoDeleteWhilePlaying = 3008;
inline constexpr int kReadTimeOut = 3009;
inline constexpr int kCannotUnmarkPlaying = 3010;
inline constexpr int kWarningTitle = 3011;
inline constexpr int kSystemFileMissing = 3012;
inline constexpr int kRestartForLanguage = 3020;
inline constexpr int kExitQuestion = 3024;
inline constexpr int kInitMemoryError = 3025;
inline constexpr int kQuestionTitle = 3026;
inline constexpr int kOpenFileFailed = 3027;
inline constexpr int kSelectFileFailed = 3028;
inline constexpr int kMapDrawFailed = 3029;
inline constexpr int kCurveMemoryError = 3031;
inline constexpr int kPlaybackCheckFailed = 3034;
inline constexpr int kPlayerMoveFailed = 3035;
inline constexpr int kCursorPositionFailed = 3036;
inline constexpr int kCameraFileMissing = 3037;
inline constexpr int kJpgFilter = 3038;
inline constexpr int kPictureFolderTitle = 3039;
inline constexpr int kLoadWithoutMapQuestion = 3041;
inline constexpr int kHandOverDamaged = 3042;
inline constexpr int kMapPageFailed = 3043;
inline constexpr int kLoaderBusy = 3044;
inline constexpr int kRecordingUnplayable = 3045;
inline constexpr int kSnapshotNotSaved = 3046;
inline constexpr int kRestartFailed = 3047;
// The buttons of the message boxes.
inline constexpr int kButtonOk = 3060;
inline constexpr int kButtonCancel = 3061;
inline constexpr int kButtonYes = 3062;
inline constexpr int kButtonNo = 3063;
inline constexpr int kButtonRetry = 3064;

// Normal and Lock labels: 4000 + 10 × twips per pixel + 1 (Normal) or + 2 (Lock).
inline constexpr int kNormalAt12 = 4121;
inline constexpr int kLockAt12 = 4122;
inline constexpr int kNormalAt15 = 4151;
inline constexpr int kLockAt15 = 4152;

inline constexpr std::array kShared{kMapBase, kMakerAddress, kLanguageCount, kLanguageEnglish,
                                    kLanguageChinese};

// Every id the windows look up under a language base.
inline constexpr std::array kPerLanguage{kUnitCount,
                                         kUnitKmh,
                                         kUnitMph,
                                         kUnitKnots,
                                         kCaption,
                                         kLongitude,
                                         kLatitude,
                                         kTimeZoneCount,
                                         kInformationPrompted,
                                         kNoMediaSelected,
                                         kSelectFromList,
                                         kConfirmTitle,
                                         kDeleteAllQuestion,
                                         kMp4Filter,
                                         kOpenMediaTitle,
                                         kNoDeleteWhilePlaying,
                                         kReadTimeOut,
                                         kCannotUnmarkPlaying,
                                         kWarningTitle,
                                         kSystemFileMissing,
                                         kRestartForLanguage,
                                         kExitQuestion,
                                         kInitMemoryError,
                                         kQuestionTitle,
                                         kOpenFileFailed,
                                         kSelectFileFailed,
                                         kMapDrawFailed,
                                         kCurveMemoryError,
                                         kPlaybackCheckFailed,
                                         kPlayerMoveFailed,
                                         kCursorPositionFailed,
                                         kCameraFileMissing,
                                         kJpgFilter,
                                         kPictureFolderTitle,
                                         kLoadWithoutMapQuestion,
                                         kHandOverDamaged,
                                         kMapPageFailed,
                                         kLoaderBusy,
                                         kRecordingUnplayable,
                                         kSnapshotNotSaved,
                                         kRestartFailed,
                                         kButtonOk,
                                         kButtonCancel,
                                         kButtonYes,
                                         kButtonNo,
                                         kButtonRetry,
                                         kNormalAt12,
                                         kLockAt12,
                                         kNormalAt15,
                                         kLockAt15};

// The text of the button that gives this answer.
inline constexpr int buttonLabel(MessageBoxService::Answer answer) {
    switch (answer) {
        case MessageBoxService::Answer::Ok:
            return kButtonOk;
        case MessageBoxService::Answer::Cancel:
            return kButtonCancel;
        case MessageBoxService::Answer::Yes:
            return kButtonYes;
        case MessageBoxService::Answer::No:
            return kButtonNo;
        case MessageBoxService::Answer::Retry:
            return kButtonRetry;
    }
    return kButtonOk;
}

}  // namespace TextId
