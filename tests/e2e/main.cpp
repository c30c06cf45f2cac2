// The end-to-end tests need a QCoreApplication for QSerialPort; program data goes to a
// temporary folder.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    // Run journals of zebctl (a child process inherits this) go to a folder of this run alone.
    QTemporaryDir data;
    qputenv("XDG_DATA_HOME", data.path().toUtf8());
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
