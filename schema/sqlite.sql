-- The installation's tables for the embedded database (SQLite, STRICT tables).
-- The tables and columns that the program creates itself at start are not here.

-- Element dictionaries: devices (codes 1-199), test items (200-1000), parameters (5000-10000)
CREATE TABLE tb_id_devid (
  ID INTEGER PRIMARY KEY,
  devid INTEGER,
  devname TEXT,
  devkeychar TEXT,
  res TEXT,
  remark TEXT,
  insertdate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;

CREATE TABLE tb_id_itemid (
  ID INTEGER PRIMARY KEY,
  itemid INTEGER,
  itemname TEXT,
  res TEXT,
  remark TEXT,
  insertdate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;

CREATE TABLE tb_id_paramid (
  ID INTEGER PRIMARY KEY,
  paramid INTEGER,
  paramname TEXT,
  res TEXT,
  remark TEXT,
  insertdate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;

-- Line types
CREATE TABLE tb_id_linetype (
  ID INTEGER PRIMARY KEY,
  lintype INTEGER,
  linename TEXT
) STRICT;

-- Basic-information fields and their sub-IDs
CREATE TABLE tb_id_info (
  infoid INTEGER,
  infoword TEXT,
  infoname TEXT,
  reserved TEXT,
  status INTEGER
) STRICT;

CREATE TABLE tb_login_ini (
  ID INTEGER PRIMARY KEY,
  infoid INTEGER,
  infoname_about TEXT,
  infosubid INTEGER,
  infovalue_about TEXT,
  subbyname TEXT,
  subbynameid TEXT,
  sametypename TEXT,
  sametypeid TEXT,
  insertdate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;
CREATE INDEX IX_tb_login_ini_infosubid ON tb_login_ini (infosubid);

-- External-inspection items, and the outline items the inspection programs keep
CREATE TABLE tb_id_eval (
  ID INTEGER PRIMARY KEY,
  pingdingid TEXT,
  pingdingname TEXT,
  remark TEXT,
  usetypeabout TEXT,
  alias TEXT
) STRICT;

CREATE TABLE tb_id_outline (
  ID INTEGER PRIMARY KEY,
  outlineitemid TEXT,
  outlineitemname TEXT
) STRICT;

-- Relations: items of a device, parameters of an item
CREATE TABLE tb_id_dev_item (
  devid INTEGER,
  devname TEXT,
  itemid INTEGER,
  itemname TEXT
) STRICT;

CREATE TABLE tb_id_item_param (
  itemid INTEGER,
  itemname TEXT,
  paramid INTEGER,
  paramname TEXT
) STRICT;

-- Run tables derived from the dictionaries and relations
CREATE TABLE tb_id_item (
  ItemId INTEGER,
  ItemName TEXT
) STRICT;

CREATE TABLE tb_id_dev (
  RunDevId INTEGER,
  RunDevName TEXT,
  BaseDevName TEXT
) STRICT;

CREATE TABLE tb_id_param (
  devId INTEGER,
  ParamId INTEGER,
  ItemId INTEGER,
  ParamName TEXT
) STRICT;

-- Line layout: one row per device placement (the program adds its later columns at start)
CREATE TABLE tb_line_info (
  linetype INTEGER,
  lineid INTEGER,
  stationid INTEGER,
  devid INTEGER,
  runorder INTEGER,
  linename TEXT,
  devname TEXT
) STRICT;

-- Users
CREATE TABLE tb_user (
  ID INTEGER PRIMARY KEY,
  UserName TEXT,
  TrueName TEXT,
  Password TEXT,
  UserType INTEGER,
  UserWrokID TEXT,
  InsertDate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;

-- Vehicles, the inspection queue and the per-inspection rows of the inspection programs
CREATE TABLE tb_vehicle_info (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  INFO_1001 TEXT,
  INFO_1002 TEXT,
  INFO_1003 TEXT,
  INFO_1004 TEXT,
  INFO_1005 TEXT,
  INFO_1012 TEXT,
  INFO_1031 TEXT,
  INFO_1082 TEXT,
  INFO_1120 TEXT,
  INFO_1122 TEXT
) STRICT;

CREATE TABLE tb_login_queu (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  lineid INTEGER,
  teststatus INTEGER,
  statusabout TEXT,
  insertdate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;

CREATE TABLE tb_login_info (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  infoid INTEGER,
  value TEXT
) STRICT;

CREATE TABLE tb_login_item (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  lineid INTEGER,
  stationid INTEGER,
  devid INTEGER,
  itemid INTEGER,
  status INTEGER,
  checkend INTEGER
) STRICT;

CREATE TABLE tb_login_std (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  lineid INTEGER,
  stationid INTEGER,
  devid INTEGER,
  paramid INTEGER,
  paramlvalue TEXT,
  paramhvalue TEXT
) STRICT;

CREATE TABLE tb_login_task (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  lineid INTEGER,
  stationid INTEGER,
  statusabout TEXT,
  status INTEGER
) STRICT;

CREATE TABLE tb_login_check (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  lineid INTEGER,
  stationid INTEGER,
  statusabout TEXT,
  endstatusabout TEXT,
  CheckOrder INTEGER,
  status INTEGER,
  EndStatus INTEGER
) STRICT;

CREATE TABLE tb_per_check (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  lineid INTEGER,
  stationid INTEGER,
  devid INTEGER,
  paramid INTEGER,
  paramvalue TEXT,
  insertdate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;

CREATE TABLE tb_print_recheck_item (
  ID INTEGER PRIMARY KEY,
  loginid TEXT,
  itemid INTEGER,
  status INTEGER,
  insertdate TEXT DEFAULT (datetime('now', 'localtime'))
) STRICT;

CREATE TABLE tb_report_number (
  ID INTEGER PRIMARY KEY,
  reportdate TEXT,
  reportnumber INTEGER
) STRICT;

-- Database version records
CREATE TABLE tb_version (
  ID INTEGER PRIMARY KEY,
  TidyUser TEXT,
  Version TEXT,
  InsertDate TEXT
) STRICT;

-- Statistics table, as its builder creates it
CREATE TABLE tb_stat_all (
  ID INTEGER PRIMARY KEY,
  DataID INTEGER,
  loginid TEXT NOT NULL,
  INFO_1001 TEXT,
  INFO_1004 TEXT,
  INFO_1012 TEXT,
  INFO_1120 TEXT,
  INFO_1122 TEXT,
  WriteDate TEXT,
  SoftVsion TEXT,
  StatRemark TEXT
) STRICT;

-- Vehicle-type tables: field definitions and the data tables they shape
CREATE TABLE tb_type_base_ini (
  ID INTEGER PRIMARY KEY,
  ziduan TEXT,
  ziduanming TEXT,
  ziduanleixing INTEGER,
  datatype INTEGER,
  itemini TEXT,
  remark TEXT,
  defaultdata TEXT
) STRICT;

CREATE TABLE tb_type_fdj_ini (
  ID INTEGER PRIMARY KEY,
  ziduan TEXT,
  ziduanming TEXT,
  ziduanleixing INTEGER,
  datatype INTEGER,
  itemini TEXT,
  remark TEXT,
  defaultdata TEXT
) STRICT;

CREATE TABLE tb_type_vehicle (
  ID INTEGER PRIMARY KEY,
  CLXH TEXT,
  CLPP TEXT,
  CLLX TEXT,
  ZZL TEXT,
  FDJXH TEXT,
  RLZL TEXT
) STRICT;

CREATE TABLE tb_type_fdjxh (
  ID INTEGER PRIMARY KEY,
  FDJXH TEXT,
  FDJPP TEXT,
  PL TEXT,
  GL TEXT
) STRICT;

CREATE TABLE tb_type_index (
  ID INTEGER PRIMARY KEY,
  CLXH TEXT,
  HPZL TEXT,
  CLLX TEXT
) STRICT;
