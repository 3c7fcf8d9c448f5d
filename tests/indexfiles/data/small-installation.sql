-- A small installation for the index file build, loaded after schema/sqlite.sql and the start-up
-- upgrade: every kind once or twice, a device code equal to an item code (205), a device without
-- items on the lines (205), a parameter of two items (5013), a layout row without a device path
-- (line 3), a sub-ID of another kind (sametypeid 0) and one without a main-ID translation.
INSERT INTO tb_login_ini (infoid, infoname_about, infosubid, infovalue_about, subbyname, subbynameid, sametypeid) VALUES
  (1012, '号牌种类', 10120002, '小型汽车', '小型汽车', '10120001', '1'),
  (1012, '号牌种类', 10120001, '大型汽车', '大型汽车', '', '1'),
  (1005, '燃料种类', 10050001, '汽油', '汽油', '10050001', '0'),
  (1082, '车辆类型', 10820001, '轿车', '轿车', '10820001', '1');
INSERT INTO tb_id_info (infoid, infoword, infoname, reserved, status) VALUES
  (1082, 'cllx', '车辆类型', 'INFO_1082', 1),
  (1012, 'hpzl', '号牌种类', 'INFO_1012', 1);
INSERT INTO tb_id_itemid (itemid, itemname, res) VALUES
  (205, '侧滑', '使用'),
  (200, '一轴制动', '使用'),
  (201, '二轴制动', '停用');
INSERT INTO tb_id_paramid (paramid, paramname, res) VALUES
  (5013, '侧滑左轮值', '使用'),
  (5000, '一轴制动左轮值', '使用');
INSERT INTO tb_id_devid (devid, devname, devkeychar, res) VALUES
  (3, '滚筒制动检验台', 'ZD', '使用'),
  (2, '侧滑检验台', 'CH', '使用'),
  (205, '二号侧滑台', 'CH2', '使用');
INSERT INTO tb_id_eval (pingdingid, pingdingname, remark) VALUES
  ('1', '号牌号码/车辆类型', '否决项');
INSERT INTO tb_id_item (ItemId, ItemName) VALUES
  (205, '侧滑'), (200, '一轴制动'), (201, '二轴制动');
INSERT INTO tb_id_param (devId, ParamId, ItemId, ParamName) VALUES
  (3, 5000, 200, '一轴制动左轮值'),
  (3, 5013, 200, '侧滑左轮值'),
  (2, 5013, 205, '侧滑左轮值'),
  (205, 5013, 205, '侧滑左轮值');
INSERT INTO tb_line_info (linetype, lineid, stationid, devid, runorder, linename, devname, stationip, devPath) VALUES
  (1, 1, 1, 3, 1, '安检线', '滚筒制动检验台', '192.168.1.11', 'DEVBIN/Dev03.dll'),
  (1, 3, 1, 2, 2, '安检线', '侧滑检验台', '192.168.1.31', NULL),
  (2, 2, 1, 205, 3, '综检线', '二号侧滑台', '192.168.1.21', ' DEVBIN/Dev205.dll ');
INSERT INTO tb_login_lineindex (lineid, linename, stationid, devid, devname, itemid, itemname) VALUES
  (1, '安检线', 1, 3, '滚筒制动检验台', 200, '一轴制动'),
  (1, '安检线', 1, 3, '滚筒制动检验台', 200, '一轴制动'),
  (1, '安检线', 1, 3, '滚筒制动检验台', 201, '二轴制动'),
  (3, '安检线', 1, 2, '侧滑检验台', 205, '侧滑');
