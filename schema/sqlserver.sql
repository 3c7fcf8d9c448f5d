-- The installation's tables for a fresh SQL Server database.
-- The tables and columns that the program creates itself at start are not here.

-- Element dictionaries: devices (codes 1-199), test items (200-1000), parameters (5000-10000)
CREATE TABLE [dbo].[tb_id_devid] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[devid] [int] NULL ,
	[devname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[devkeychar] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[res] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[insertdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_id_devid_insertdate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_id_devid] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_id_itemid] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[itemid] [int] NULL ,
	[itemname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[res] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[insertdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_id_itemid_insertdate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_id_itemid] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_id_paramid] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[paramid] [int] NULL ,
	[paramname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[res] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[insertdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_id_paramid_insertdate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_id_paramid] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

-- Line types
CREATE TABLE [dbo].[tb_id_linetype] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[lintype] [int] NULL ,
	[linename] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_id_linetype] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

-- Basic-information fields and their sub-IDs
CREATE TABLE [dbo].[tb_id_info] (
	[infoid] [int] NULL ,
	[infoword] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[infoname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[reserved] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[status] [int] NULL
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_login_ini] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[infoid] [int] NULL ,
	[infoname_about] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[infosubid] [int] NULL ,
	[infovalue_about] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[subbyname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[subbynameid] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[sametypename] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[sametypeid] [varchar] (10) COLLATE Chinese_PRC_CI_AS NULL ,
	[insertdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_login_ini_insertdate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_login_ini] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];
CREATE INDEX [IX_tb_login_ini_infosubid] ON [dbo].[tb_login_ini]([infosubid]) ON [PRIMARY];

-- External-inspection items, and the outline items the inspection programs keep
CREATE TABLE [dbo].[tb_id_eval] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[pingdingid] [varchar] (32) COLLATE Chinese_PRC_CI_AS NULL ,
	[pingdingname] [varchar] (64) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (64) COLLATE Chinese_PRC_CI_AS NULL ,
	[usetypeabout] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[alias] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_id_eval] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_id_outline] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[outlineitemid] [varchar] (32) COLLATE Chinese_PRC_CI_AS NULL ,
	[outlineitemname] [varchar] (64) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_id_outline] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

-- Relations: items of a device, parameters of an item
CREATE TABLE [dbo].[tb_id_dev_item] (
	[devid] [int] NULL ,
	[devname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[itemid] [int] NULL ,
	[itemname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_id_item_param] (
	[itemid] [int] NULL ,
	[itemname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[paramid] [int] NULL ,
	[paramname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY];

-- Run tables derived from the dictionaries and relations
CREATE TABLE [dbo].[tb_id_item] (
	[ItemId] [int] NULL ,
	[ItemName] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_id_dev] (
	[RunDevId] [int] NULL ,
	[RunDevName] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[BaseDevName] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_id_param] (
	[devId] [int] NULL ,
	[ParamId] [int] NULL ,
	[ItemId] [int] NULL ,
	[ParamName] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY];

-- Line layout: one row per device placement (the program adds its later columns at start)
CREATE TABLE [dbo].[tb_line_info] (
	[linetype] [int] NULL ,
	[lineid] [int] NULL ,
	[stationid] [int] NULL ,
	[devid] [int] NULL ,
	[runorder] [int] NULL ,
	[linename] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[devname] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL
) ON [PRIMARY];

-- Users
CREATE TABLE [dbo].[tb_user] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[UserName] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[TrueName] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[Password] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[UserType] [int] NULL ,
	[UserWrokID] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[InsertDate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_user_InsertDate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_user] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

-- Vehicles, the inspection queue and the per-inspection rows of the inspection programs
CREATE TABLE [dbo].[tb_vehicle_info] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1001] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1002] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1003] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1004] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1005] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1012] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1031] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1082] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1120] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1122] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_vehicle_info] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_login_queu] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[lineid] [int] NULL ,
	[teststatus] [int] NULL ,
	[statusabout] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[insertdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_login_queu_insertdate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_login_queu] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_login_info] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[infoid] [int] NULL ,
	[value] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_login_info] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_login_item] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[lineid] [int] NULL ,
	[stationid] [int] NULL ,
	[devid] [int] NULL ,
	[itemid] [int] NULL ,
	[status] [int] NULL ,
	[checkend] [int] NULL ,
	CONSTRAINT [PK_tb_login_item] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_login_std] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[lineid] [int] NULL ,
	[stationid] [int] NULL ,
	[devid] [int] NULL ,
	[paramid] [int] NULL ,
	[paramlvalue] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[paramhvalue] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_login_std] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_login_task] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[lineid] [int] NULL ,
	[stationid] [int] NULL ,
	[statusabout] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[status] [int] NULL ,
	CONSTRAINT [PK_tb_login_task] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_login_check] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[lineid] [int] NULL ,
	[stationid] [int] NULL ,
	[statusabout] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[endstatusabout] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[CheckOrder] [int] NULL ,
	[status] [int] NULL ,
	[EndStatus] [int] NULL ,
	CONSTRAINT [PK_tb_login_check] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_per_check] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[lineid] [int] NULL ,
	[stationid] [int] NULL ,
	[devid] [int] NULL ,
	[paramid] [int] NULL ,
	[paramvalue] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[insertdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_per_check_insertdate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_per_check] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_print_recheck_item] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[itemid] [int] NULL ,
	[status] [int] NULL ,
	[insertdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL CONSTRAINT [DF_tb_print_recheck_item_insertdate] DEFAULT (CONVERT([varchar](19), getdate(), 120)) ,
	CONSTRAINT [PK_tb_print_recheck_item] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_report_number] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[reportdate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[reportnumber] [int] NULL ,
	CONSTRAINT [PK_tb_report_number] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

-- Database version records
CREATE TABLE [dbo].[tb_version] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[TidyUser] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[Version] [varchar] (500) COLLATE Chinese_PRC_CI_AS NULL ,
	[InsertDate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_version] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

-- Statistics table, as its builder creates it
CREATE TABLE [dbo].[tb_stat_all] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[DataID] [int] NULL ,
	[loginid] [varchar] (100) COLLATE Chinese_PRC_CI_AS NOT NULL ,
	[INFO_1001] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1004] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1012] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1120] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[INFO_1122] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[WriteDate] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[SoftVsion] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[StatRemark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_stat_all] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

-- Vehicle-type tables: field definitions and the data tables they shape
CREATE TABLE [dbo].[tb_type_base_ini] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[ziduan] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ziduanming] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ziduanleixing] [int] NULL ,
	[datatype] [int] NULL ,
	[itemini] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[defaultdata] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_type_base_ini] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_type_fdj_ini] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[ziduan] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ziduanming] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ziduanleixing] [int] NULL ,
	[datatype] [int] NULL ,
	[itemini] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[remark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	[defaultdata] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_type_fdj_ini] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_type_vehicle] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[CLXH] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[CLPP] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[CLLX] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[ZZL] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[FDJXH] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[RLZL] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_type_vehicle] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_type_fdjxh] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[FDJXH] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[FDJPP] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[PL] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[GL] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_type_fdjxh] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];

CREATE TABLE [dbo].[tb_type_index] (
	[ID] [int] IDENTITY (1, 1) NOT NULL ,
	[CLXH] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[HPZL] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	[CLLX] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL ,
	CONSTRAINT [PK_tb_type_index] PRIMARY KEY CLUSTERED ([ID])
) ON [PRIMARY];
