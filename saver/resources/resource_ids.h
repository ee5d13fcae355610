#pragma once
// Ids of the program's icons and of the settings pages' controls.
#include "platform/types.h"

// Icons.
constexpr WORD IconSetup = 100;
constexpr WORD IconSheet = 102;
constexpr WORD IconCustomPage = 102;
constexpr WORD IconModulePage = 103;
constexpr WORD IconPalettePage = 104;
constexpr WORD IconMainPage = 105;
constexpr WORD IconDisplayPage = 106;
constexpr WORD IconSoundPage = 107;

// Buttons several pages have.
constexpr int IdTestAll = 1085;
constexpr int IdHelp = 1298;

// Main Settings.
constexpr int ModuleCheckIds[12] = {1021, 1041, 1060, 1061, 1062, 1082, 1083, 1084, 1099, 1046, 1048, 1070};
constexpr int IdPriorityHigh = 1065;
constexpr int IdPriorityNormal = 1067;
constexpr int IdPriorityLow = 1066;
constexpr int IdClearFirst = 1036;
constexpr int IdAnimate = 1301;
constexpr int IdTitleTrack = 1314;
constexpr int IdTitleSeconds = 1315;
constexpr int IdDisplayList = 1078;
constexpr int IdSaveSelection = 1080;
constexpr int IdDeleteSelection = 1077;
constexpr int IdExport = 1047;
constexpr int IdImport = 1054;
constexpr int IdColourNote = 1059;

// Module pages.  The rows' controls are made at run time with the ids of
// their slot: base + slot.
constexpr int IdSettingsGroup = 1038;
constexpr int IdTestModule = 1086;
constexpr int IdReset = 1087;
constexpr int IdPageUpDown = 1319;
constexpr int IdPageLabel = 1320;
constexpr int IdFileName = 1292;
constexpr int IdBrowse = 1299;
constexpr int IdFormats = 1300;
constexpr int RowValueTrack = 100;
constexpr int RowValueEdit = 120;
constexpr int RowSenseUpDown = 140;
constexpr int RowSenseEdit = 160;
constexpr int RowSource = 180;
constexpr int RowLowTrack = 200;
constexpr int RowHighTrack = 220;
constexpr int RowLowEdit = 240;
constexpr int RowHighEdit = 260;
constexpr int RowLabel = 280;

// Sound.
constexpr int IdTurbo = 1042;
constexpr int IdShowInfo = 1039;
constexpr int IdAutoRun = 1043;
constexpr int IdAutoGain = 1044;
constexpr int IdSoundStatus = 1110;
constexpr int IdLaunchAnalyser = 1109;

// Palette.  The rows take the module pages' ids of slots 0 to 9.
constexpr int IdChannelRed = 1303;
constexpr int IdChannelGreen = 1304;
constexpr int IdChannelBlue = 1305;
// The colour effects' radio buttons in ChannelEffect order (Ramp, Fade,
// Smooth, Coarse, Blackout, Random, Custom).
constexpr int EffectIds[7] = {1307, 1309, 1311, 1310, 1308, 1070, 1071};

// Display.
constexpr int IdModeList = 1043;
constexpr int IdCurrentMode = 1039;
constexpr int IdStoredMode = 1040;
constexpr int IdSetMode = 1106;
constexpr int IdClearMode = 1107;
constexpr int IdTestMode = 2;
constexpr int IdModeNote = 1321;

// Custom palette.
constexpr int IdRedSlider = 1000;
constexpr int IdGreenSlider = 1003;
constexpr int IdBlueSlider = 1004;
constexpr int IdRandomColours = 1001;
constexpr int IdGradient = 1002;
constexpr int IdCopyTo = 1005;
constexpr int IdImportPalette = 1006;
constexpr int IdExportPalette = 1007;
constexpr int IdMergeTo = 1008;
constexpr int IdSmooth = 1009;
constexpr int IdShift = 1010;
constexpr int IdRough = 1011;
constexpr int IdNegative = 1012;
constexpr int IdUndo = 1013;
constexpr int IdReverse = 1015;
constexpr int IdPaletteGrid = 1018;
constexpr int IdMaskRed = 1303;
constexpr int IdMaskGreen = 1304;
constexpr int IdMaskBlue = 1305;
constexpr int IdTestPalette = 1086;

// Setup wizard.
constexpr int IdDestination = 1100;
constexpr int IdBrowseDestination = 1101;
constexpr int IdSetDefaultSaver = 1057;
constexpr int IdAddLauncher = 1058;
constexpr int IdAddConfigCopy = 1059;
constexpr int IdAddSavedSettings = 1060;
constexpr int IdInstallAnalyser = 1062;
constexpr int IdInstallProgress = 1316;
constexpr int IdConfigure = 1037;
constexpr int IdTestDrive = 1087;
