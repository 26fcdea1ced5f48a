#pragma once
// Every text the wizard window and its message boxes show, in French and in
// English. Texts are single-byte Windows-1252 strings; those holding
// placeholders are printf-style formats (%s device name, %i, %.1f, %010lu,
// %%). Select with the language index: Key[Language], 0 French, 1 English.

// Index 0 French, index 1 English.
using TextPair = const char* const[2];

// "Fran\xE7ais" and "English", the same whatever the current language.
extern const TextPair LanguageNames;

extern const TextPair TitleUpdateVersion;
extern const TextPair StepCounter;
extern const TextPair ButtonQuit;
extern const TextPair ButtonPrevious;
extern const TextPair ButtonNext;
extern const TextPair ButtonConnect;
extern const TextPair ButtonAbout;
extern const TextPair ButtonCancel;
extern const TextPair ButtonYes;
extern const TextPair ButtonNo;
extern const TextPair TitleUpdateDevice;
extern const TextPair LanguageHeading;
extern const TextPair LanguagePrompt;
extern const TextPair WelcomeBenefits;
extern const TextPair TitleWelcome;
extern const TextPair WelcomeGreeting;
extern const TextPair WelcomeLatestUpdate;
extern const TextPair WelcomePerformance;
extern const TextPair TitlePreparation;
extern const TextPair PreparationConnectCable;
extern const TextPair TitleConnection;
extern const TextPair ConnectionConnectCable;
extern const TextPair TitlePortChoice;
extern const TextPair PortChoicePrompt;
extern const TextPair NoSerialPort;
extern const TextPair TitleCheckAndLaunch;
extern const TextPair LaunchCheckConnected;
extern const TextPair LaunchSwitchOnAfterConnect;
extern const TextPair LaunchClickConnect;
extern const TextPair TitleWaitConnection;
extern const TextPair WaitSwitchOn;
extern const TextPair WaitRemainingTime;
extern const TextPair TitleDeviceCheck;
extern const TextPair CheckModelCorrect;
extern const TextPair CheckSerialNumber;
extern const TextPair CheckVersionBlank;
extern const TextPair CheckPreparingTransmission;
extern const TextPair TitleProgramming;
extern const TextPair ProgrammingProgress;
extern const TextPair ProgrammingTransmission;
extern const TextPair TitleUpdateSucceeded;
extern const TextPair SuccessUpdateAnother;
extern const TextPair MsgConnectionFailed;
extern const TextPair MsgWrongDevice;
extern const TextPair MsgWrongVariant;
extern const TextPair MsgInvalidSerialNumber;
extern const TextPair MsgAlreadyUpdated;
extern const TextPair MsgNewerInstalled;
extern const TextPair MsgIncompatibleFirmware;
extern const TextPair MsgTransmissionFailed;
