#pragma once
// The large installation of the benchmarks, as statements for the embedded database on the installation's
// tables after the start-up upgrade.

namespace dbkeel::test {

// 20,000 flagged sub-IDs, 1,000 items, 5,000 parameters related to the items and the devices, 200
// devices, 30 lines of 10 stations with 5 devices each (every device with 4 items), 200 users.
inline const char *const kLargeInstallation[] = {
    "insert into tb_login_ini (infoid, infoname_about, infosubid, infovalue_about, subbyname, subbynameid, sametypeid) "
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 20000) "
    "select 1000 + i % 200, '信息' || (i % 200), 10000000 + i, '取值' || i, '别名' || i, 10000000 + (i * 7) % 20000, '1' "
    "from n",
    "insert into tb_id_info (infoid, infoname) "
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200) "
    "select 1000 + i, '基本信息' || i from n",
    "insert into tb_id_itemid (itemid, itemname, res) "
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 1000) "
    "select 200 + i, '检测项目' || i, '使用' from n",
    "insert into tb_id_item (ItemId, ItemName) select itemid, itemname from tb_id_itemid",
    "insert into tb_id_paramid (paramid, paramname, res) "
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 5000) "
    "select 5000 + i, '检测参数' || i, '使用' from n",
    "insert into tb_id_devid (devid, devname, res) "
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200) "
    "select i, '检测设备' || i, '使用' from n",
    "insert into tb_id_param (devId, ParamId, ItemId, ParamName) "
    "select 1 + (paramid % 200), paramid, 201 + (paramid % 1000), paramname from tb_id_paramid",
    "insert into tb_line_info (linetype, lineid, stationid, devid, runorder, linename, devname, stationip, devPath) "
    "with recursive n(i) as (select 0 union all select i + 1 from n where i < 1499) "
    "select 1 + (i / 50) % 4, 1 + i / 50, 1 + (i / 5) % 10, 1 + i % 200, i, '检测线' || (1 + i / 50), '检测设备', "
    "'10.0.' || (1 + i / 50) || '.' || (1 + (i / 5) % 10), 'DEVBIN/Dev' || (1 + i % 200) || '.dll' from n",
    "insert into tb_login_lineindex (lineid, stationid, devid, itemid, itemname) "
    "with recursive k(j) as (select 0 union all select j + 1 from k where j < 3) "
    "select l.lineid, l.stationid, l.devid, 201 + (l.devid * 4 + k.j) % 1000, '检测项目' from tb_line_info l, k",
    "insert into tb_user (UserName, TrueName, Password, UserType, UserWrokID) "
    "with recursive n(i) as (select 1 union all select i + 1 from n where i < 200) "
    "select 'user' || i, '用户' || i, 'pw' || i, i % 3, printf('%04d', i) from n",
};

}  // namespace dbkeel::test
