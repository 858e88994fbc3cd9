// The host's components beside the plug-in: socket file to HUB file, the controller's loader
// and sender, and the monitor's reading of the command area.
#include "components/SiblingComponents.h"
#include "CommandAreaFields.h"
#include "components/HubFileWriter.h"
#include "md/ContractIds.h"
#include "md/SocketRequest.h"
#include "services/NotifyService.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace md::host {
namespace {

/// A socket file of two pins with codes 16 and 255 over 8 scan rows.
QByteArray TwoPinSocketFile()
{
    QByteArray bytes(".MJK");
    for (quint32 part : {1u, 0u, 0u})
        bytes.append(reinterpret_cast<const char*>(&part), 4);
    bytes.append("094D7714-905C-4b37-AF57-DB3A8624D4AB");
    bytes.append("\x02\x00\x08\x00\x10\xFF", 6);
    return bytes;
}

TEST(HubFileWriterTest, OnePinGroupHoldsEveryPinInOrder)
{
    const QByteArray socket = TwoPinSocketFile();
    ASSERT_EQ(socket.size(), 58);
    const QByteArray hub = HubFileWriter::FromSocketFile(socket);
    QByteArray expected(".HDRB80B16B7-269C-4271-B0A2-3D89B99AC56A");
    expected.append("\x01\x00\x02\x00\x08\x00", 6);
    expected.append("\x00\x10\x00\x00\x01\xFF\x00\x00", 8);
    EXPECT_EQ(hub, expected);
    // Truncated or foreign files give nothing.
    EXPECT_TRUE(HubFileWriter::FromSocketFile(socket.left(57)).isEmpty());
    EXPECT_TRUE(HubFileWriter::FromSocketFile(QByteArray(58, 'x')).isEmpty());
}

TEST(SiblingComponentsTest, SocketRequestWritesTheHubFileIntoTemp)
{
    QTemporaryDir folder;
    const QString socketPath = folder.filePath("temp/zt5Module.mjk");
    QDir().mkpath(folder.filePath("temp"));
    QFile socketFile(socketPath);
    ASSERT_TRUE(socketFile.open(QIODevice::WriteOnly));
    socketFile.write(TwoPinSocketFile());
    socketFile.close();

    NotifyService notify;
    SiblingComponents siblings(folder.path(), notify);
    QStringList events;
    siblings.onEvent = [&](const QString& text) { events << text; };

    SocketRequest request{};
    const std::u16string path = socketPath.toStdU16String();
    std::copy(path.begin(), path.end(), request.path);
    request.ledUnit = 32;
    EXPECT_EQ(notify.Send(contract::kSocketComponentId, contract::kMsgSocketRequest,
                          reinterpret_cast<std::uintptr_t>(&request), 0),
              0);
    QFile hub(siblings.HubPath());
    ASSERT_TRUE(hub.open(QIODevice::ReadOnly));
    EXPECT_TRUE(hub.readAll().startsWith(".HDR"));

    // A socket file that is not there: the component answers -1 and the wizard gives up.
    SocketRequest missing{};
    const std::u16string nowhere = u"/no/such/socket.mjk";
    std::copy(nowhere.begin(), nowhere.end(), missing.path);
    EXPECT_EQ(notify.Send(contract::kSocketComponentId, contract::kMsgSocketRequest,
                          reinterpret_cast<std::uintptr_t>(&missing), 0),
              -1);

    const std::u16string combined = u"/tmp/zt5ModuleHUB.MHR";
    EXPECT_EQ(notify.Send(contract::kControllerLoaderId, contract::kMsgLoadCombined, 1, 0), 0);
    EXPECT_EQ(notify.Send(contract::kControllerSenderId, contract::kMsgSendCombined, 0x01010001,
                          reinterpret_cast<std::intptr_t>(combined.c_str())),
              0);
    EXPECT_EQ(siblings.LoadRequests(), 1);
    EXPECT_EQ(siblings.SentFiles(), QStringList{"/tmp/zt5ModuleHUB.MHR"});
    EXPECT_EQ(events.size(), 4);
}

TEST(CommandAreaFieldsTest, DecodesWhatThePluginWrites)
{
    QByteArray area(32, 0);
    area[0] = 1;
    area[21] = 4;
    area[22] = static_cast<char>(0x21); // multi-clock 1, line type 2
    area[23] = 'C';
    // Step-4 button 3 with 8 rows: word 2 is 03 FF 08 47 in memory.
    const char word1[] = {'\xA0', '\x00', '\x02', '\x0A'};
    const char word2[] = {'\x03', '\xFF', '\x08', '\x47'};
    area.replace(24, 4, QByteArray(word1, 4));
    area.replace(28, 4, QByteArray(word2, 4));
    CommandAreaFields f = CommandAreaFields::Decode(area);
    EXPECT_TRUE(f.wizardActive);
    EXPECT_EQ(f.groupingMode, 4);
    EXPECT_EQ(f.multiClock, 1);
    EXPECT_EQ(f.dataLineType, 2);
    EXPECT_EQ(f.chipLetter, 'C');
    EXPECT_EQ(f.polarity, 0x020Au);
    EXPECT_EQ(f.modeBits, 7);
    EXPECT_EQ(f.lineEnables, 0x4); // line 3
    EXPECT_EQ(f.rows, 8);
    EXPECT_EQ(f.position, 0x3FF);
    EXPECT_EQ(f.rowIndex, -1);
    EXPECT_TRUE(f.Describe().contains("lines 3"));

    // Point lighting of position 5, group 1, row index 3.
    const char light1[] = {'\xA3', '\x03', '\x00', '\x0A'};
    const quint32 pattern = 0x01 | 0xF0 | (16u << 8) | (5u << 16) | (1u << 26);
    const char light2[] = {static_cast<char>(pattern >> 24), static_cast<char>(pattern >> 16),
                           static_cast<char>(pattern >> 8), static_cast<char>(pattern)};
    area.replace(24, 4, QByteArray(light1, 4));
    area.replace(28, 4, QByteArray(light2, 4));
    f = CommandAreaFields::Decode(area);
    EXPECT_EQ(f.rowIndex, 3);
    EXPECT_EQ(f.position, 5);
    EXPECT_EQ(f.group, 1);
    EXPECT_EQ(f.rows, 16);
    EXPECT_EQ(f.lineEnables, 0xF);
}

} // namespace
} // namespace md::host
