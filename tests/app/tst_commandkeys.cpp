// Which command each key runs, from a menu item and from a toolbar button.
#include "support/ui/ktest.h"
#include "window/commandkeys.h"

Q_DECLARE_METATYPE(Command)

class TestCommandKeys : public QObject
{
    Q_OBJECT

private slots:
    void keys_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<Command>("menu");
        QTest::addColumn<Command>("toolbar");

        QTest::newRow("FileOpen") << "FileOpen" << Command::FileOpen << Command::None;
        QTest::newRow("SaveDataFile saves as") << "SaveDataFile" << Command::FileSaveAs << Command::None;
        QTest::newRow("FileSaveas") << "FileSaveas" << Command::FileSaveAs << Command::None;
        QTest::newRow("Export") << "Export" << Command::Export << Command::None;
        QTest::newRow("NewCoordinates") << "NewCoordinates" << Command::NewPoint << Command::None;
        QTest::newRow("EditCoordinates") << "EditCoordinates" << Command::EditPoint << Command::None;
        QTest::newRow("DeleteCoordinates") << "DeleteCoordinates" << Command::DeletePoint << Command::None;
        QTest::newRow("ClearCoordinates") << "ClearCoordinates" << Command::ClearPoints << Command::None;
        QTest::newRow("Connect") << "Connect" << Command::ConnectCable << Command::ConnectCable;
        QTest::newRow("connect in lower case") << "connect" << Command::ConnectCable << Command::ConnectCable;
        QTest::newRow("BTCOMConnect") << "btcomconnect" << Command::ConnectBluetooth << Command::ConnectBluetooth;
        QTest::newRow("Disconnect") << "DISCONNECT" << Command::Disconnect << Command::Disconnect;
        QTest::newRow("ReceiveData") << "ReceiveData" << Command::ReceiveCoordinates << Command::ReceiveCoordinates;
        QTest::newRow("SendData") << "SendData" << Command::SendCoordinates << Command::SendCoordinates;
        QTest::newRow("MeasuredData") << "MeasuredData" << Command::ReceiveMeasuredData << Command::ReceiveMeasuredData;
        QTest::newRow("PortSetting") << "PortSetting" << Command::PortSettings << Command::PortSettings;
        QTest::newRow("Exit") << "exit" << Command::Exit << Command::Exit;
        QTest::newRow("About") << "about" << Command::About << Command::None;
        QTest::newRow("CommLog") << "CommLog" << Command::CommLog << Command::None;
        QTest::newRow("CheckMeasuredData")
            << "CheckMeasuredData" << Command::CheckMeasuredData << Command::CheckMeasuredData;
        QTest::newRow("RecomputeMeasuredData")
            << "RecomputeMeasuredData" << Command::RecomputeMeasuredData << Command::RecomputeMeasuredData;
        for (const char* key : {"manage", "ManagementPersonnel", "ImportFunction", "space", "Help"})
            QTest::newRow(key) << key << Command::None << Command::None;
        QTest::newRow("unknown") << "Reboot" << Command::None << Command::None;
        QTest::newRow("empty") << "" << Command::None << Command::None;
        QTest::newRow("no partial match") << "Connected" << Command::None << Command::None;
    }

    void keys()
    {
        QFETCH(QString, key);
        QFETCH(Command, menu);
        QFETCH(Command, toolbar);
        QCOMPARE(command_for_key(key, CommandSource::Menu), menu);
        QCOMPARE(command_for_key(key, CommandSource::Toolbar), toolbar);
    }
};

KT_TEST_MAIN(TestCommandKeys)
#include "tst_commandkeys.moc"
