#pragma once
// The main menu's command ids, by name. Screens register their actions under these (ScreenRegistry.h);
// the main window's menu lists them (CommandTable.h).

namespace dbkeel::command {

inline constexpr int About = 16;
inline constexpr int Exit = 32771;
inline constexpr int DeviceDictionary = 32772;
inline constexpr int ItemDictionary = 32773;
inline constexpr int ParameterDictionary = 32774;
inline constexpr int LineTypes = 32775;
inline constexpr int DeviceItemRelations = 32776;
inline constexpr int ItemParameterRelations = 32777;
inline constexpr int OneKeyRelations = 32778;
inline constexpr int SystemLog = 32779;
inline constexpr int BackupManager = 32780;
inline constexpr int BasicInformation = 32781;
inline constexpr int InfoSubIds = 32782;
inline constexpr int QuickLineBuild = 32783;
inline constexpr int OutlineItems = 32784;
inline constexpr int ClearDuplicates = 32785;
inline constexpr int SqlWorkspace = 32786;
inline constexpr int VehicleTypeTransfer = 32787;
inline constexpr int StatisticsTable = 32788;
inline constexpr int SystemConfig = 32789;
inline constexpr int StationConfigManager = 32790;
inline constexpr int Login = 32791;
inline constexpr int ClearTemporaryData = 32792;
inline constexpr int CheckItemParameters = 32793;
inline constexpr int IndexFileBuild = 32794;
inline constexpr int VehicleTypeDesign = 32795;
inline constexpr int TrayShow = 32796;
inline constexpr int HostLibUpdate = 32797;
inline constexpr int ElementExchange = 32798;
inline constexpr int DebugQuery = 32799;
inline constexpr int DatabaseVersions = 32800;
inline constexpr int PlateCorrection = 32801;
inline constexpr int OutputFieldMatching = 32802;
inline constexpr int StandardsProgram = 32803;

}  // namespace dbkeel::command
