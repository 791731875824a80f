// orvi-cli ports: the serial ports a Grbl turntable may be on, one a line.

#include "CliCommand.h"

#include <QSerialPortInfo>

namespace {

int RunPorts(const QStringList &args)
{
    if (!args.isEmpty()) {
        CliError(QStringLiteral("orvi-cli ports: takes no arguments"));
        return 1;
    }
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    if (ports.isEmpty())
        CliOut(QStringLiteral("(none)\n"));
    for (const QSerialPortInfo &info : ports) {
        QString line = info.systemLocation();
        if (!info.description().isEmpty())
            line += QStringLiteral(" – ") + info.description();
        if (info.hasVendorIdentifier() && info.hasProductIdentifier())
            line += QStringLiteral(" [%1:%2]")
                        .arg(info.vendorIdentifier(), 4, 16, QLatin1Char('0'))
                        .arg(info.productIdentifier(), 4, 16, QLatin1Char('0'));
        CliOut(line + u'\n');
    }
    return 0;
}

} // namespace

ORVI_CLI_COMMAND("ports", "ports", &RunPorts);
