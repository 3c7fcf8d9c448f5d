#include "dictionaries/DictionaryVariant.h"

#include "screens/CommandIds.h"

namespace dbkeel {

QString DictionaryVariant::columnSpec(int clientWidth) const
{
    const int w = clientWidth / widthDivisor;
    QString spec = listSpec;
    for (int column = 0; column < columnCount(); ++column) {
        const int width = column < widthOffsets.size() ? w + widthOffsets.at(column) : 0;
        spec.replace(spec.indexOf(QLatin1String("%d")), 2, QString::number(width));
    }
    return spec;
}

namespace {

DictionaryVariant makeDevices()
{
    DictionaryVariant v;
    v.screenName = QStringLiteral("DeviceDictionaryDialog");
    v.title = QStringLiteral("设备创建");
    v.commandId = command::DeviceDictionary;
    v.table = QStringLiteral("tb_id_devid");
    v.codeColumn = QStringLiteral("devid");
    v.nameColumn = QStringLiteral("devname");
    v.keyColumn = QStringLiteral("devkeychar");
    v.minCode = 1;
    v.maxCode = 199;
    v.listSpec = QStringLiteral("ID,%d;设备名称,%d;设备代号,%d;设备代码,%d;说明,%d;注释,%d;插入时间,%d");
    v.widthDivisor = 5;
    v.widthOffsets = {-50, 20, -20, -20, 30};
    v.loadQuery = QStringLiteral("select * from tb_id_devid order by devid  ;");
    v.fileExtension = QStringLiteral(".TBIDDEV");
    v.recordFields = {RecordField::Name, RecordField::Code, RecordField::Key, RecordField::State};
    v.loadErrorCaption = QStringLiteral("操作数据库异常");
    v.largestCodeFormat = QStringLiteral("当前最大设备代号为:%1");
    v.deleteQuestion = QStringLiteral("注意:若删除以后将不能再使用该设备代号,确定要删除?确定(删除),取消");
    v.storeRefused = QStringLiteral("有重复内容或建立DEVID编号超出限制范围200,请查看!");
    v.storeBusyStatus = QStringLiteral("请稍等,正在更新修改...");
    v.storeDoneStatus = QStringLiteral("更新结束");
    v.searchButton = QStringLiteral("查找");
    v.searchEmpty = QStringLiteral("请输入设备号!");
    v.searchResult = QStringLiteral("设备代号:%1\r\n设备名称:%2\r\n");
    v.searchCodeMode = QStringLiteral("设备编号");
    v.searchNameMode = QStringLiteral("设备名称");
    v.searchTip = QStringLiteral("查询");
    v.cancelTip = QStringLiteral("取消操作");
    v.checkTip = QStringLiteral("测试");
    v.updateTip = QStringLiteral("添加");
    v.folderTitle = QStringLiteral("请选择保存目录:");
    v.nothingTicked = QStringLiteral("没有设备可导出,请选择导出设备!!!");
    v.forcedQuestion = QStringLiteral("确定要强制覆盖导入基本设备表,一旦覆盖将无法恢复,是(强制覆盖),否?");
    v.importTrace = QStringLiteral("导入设备表:%1");
    return v;
}

// Items and parameters share everything but their names and a few texts.
DictionaryVariant makeItemLike()
{
    DictionaryVariant v;
    v.widthDivisor = 4;
    v.loadErrorCaption = QStringLiteral("错误");
    v.storeRefused = QStringLiteral("有重复内容,请查看!");
    v.storeBusyStatus = QStringLiteral("请梢等,正在更新数据库...");
    v.storeDoneStatus = QStringLiteral("更新完毕!");
    v.searchButton = QStringLiteral("查询");
    v.searchCodeMode = QStringLiteral("项目编号");
    v.searchNameMode = QStringLiteral("项目名称");
    v.updateTip = QStringLiteral("添加");
    return v;
}

DictionaryVariant makeItems()
{
    DictionaryVariant v = makeItemLike();
    v.screenName = QStringLiteral("ItemDictionaryDialog");
    v.title = QStringLiteral("项目创建");
    v.commandId = command::ItemDictionary;
    v.table = QStringLiteral("tb_id_itemid");
    v.codeColumn = QStringLiteral("itemid");
    v.nameColumn = QStringLiteral("itemname");
    v.minCode = 200;
    v.maxCode = 1000;
    v.listSpec = QStringLiteral("ID,%d;项目名称,%d;项目代号,%d;说明,%d;注释,%d;插入时间,%d");
    v.widthOffsets = {-50, 20, -30, 30};
    v.loadQuery = QStringLiteral("select * from tb_id_itemid order by itemid ;");
    v.fileExtension = QStringLiteral(".TBIDITEM");
    v.recordFields = {RecordField::Name, RecordField::Code, RecordField::State};
    v.largestCodeFormat = QStringLiteral("当前最大项目代号为:%1");
    v.deleteQuestion = QStringLiteral("注意:若删除以后将不能再使用该项目代号,确定要删除?确定(删除),取消");
    v.searchEmpty = QStringLiteral("请输入项目号!");
    v.searchResult = QStringLiteral("项目代号:%1\r\n项目名称:%2\r\n");
    v.searchTip = QStringLiteral("查询...");
    v.cancelTip = QStringLiteral("退出系统");
    v.checkTip = QStringLiteral("检查");
    v.folderTitle = QStringLiteral("请选择保存文件目录:");
    v.nothingTicked = QStringLiteral("没有项目可导出,请选择导出项目!!!");
    v.forcedQuestion = QStringLiteral("确定要强制覆盖导入基本项目表,一旦覆盖将无法恢复,是(强制覆盖),否?");
    v.importTrace = QStringLiteral("导入设备表:%1");
    return v;
}

DictionaryVariant makeParameters()
{
    DictionaryVariant v = makeItemLike();
    v.screenName = QStringLiteral("ParameterDictionaryDialog");
    v.title = QStringLiteral("参数创建");
    v.commandId = command::ParameterDictionary;
    v.table = QStringLiteral("tb_id_paramid");
    v.codeColumn = QStringLiteral("paramid");
    v.nameColumn = QStringLiteral("paramname");
    v.minCode = 5000;
    v.maxCode = 10000;
    v.listSpec = QStringLiteral("ID,%d;参数名称,%d;参数代号,%d;说明,%d;注释,%d;插入时间,%d");
    v.widthOffsets = {-100, 80, -40, 30};
    v.loadQuery = QStringLiteral("select * from tb_id_paramid order by paramid ;");
    v.fileExtension = QStringLiteral(".TBIDPAM");
    v.recordFields = {RecordField::Code, RecordField::Name};
    v.importsStateAndTime = false;
    v.largestCodeFormat = QStringLiteral("当前最大参数代号为:%1");
    v.deleteQuestion = QStringLiteral("注意:若删除以后将不能再使用该参数代号,确定要删除?确定(删除),取消");
    v.searchEmpty = QStringLiteral("请输入参数号!");
    v.searchResult = QStringLiteral("参数代号:%1\r\n参数名称:%2\r\n");
    v.searchTip = QStringLiteral("查询");
    v.cancelTip = QStringLiteral("取消操作");
    v.checkTip = QStringLiteral("测试");
    v.folderTitle = QStringLiteral("Please select a folder:");
    v.nothingTicked = QStringLiteral("没有参数可导出,请选择导出参数!!!");
    v.forcedQuestion = QStringLiteral("确定要强制覆盖导入基本参数表,一旦覆盖将无法恢复,是(强制覆盖),否?");
    v.importTrace = QStringLiteral("导入参数表:%1");
    return v;
}

}  // namespace

const DictionaryVariant &deviceDictionary()
{
    static const DictionaryVariant v = makeDevices();
    return v;
}

const DictionaryVariant &itemDictionary()
{
    static const DictionaryVariant v = makeItems();
    return v;
}

const DictionaryVariant &parameterDictionary()
{
    static const DictionaryVariant v = makeParameters();
    return v;
}

}  // namespace dbkeel
