// Parsing and checking ktsim's options.
#include "simoptions.h"

#include "comm/kt2040_frames.h"
#include "data/pointformats.h"

#include <QFileInfo>

#include <algorithm>
#include <iterator>

const char kSimUsage[] =
    "usage: ktsim --type KT40|KT20|KT20_KT40|KT85R|KT90 (--port NAME | --pty) [--points FILE]\n"
    "             [--measured FILE] [--jobs DIR] [--out FILE] [--baud N] [--delay-ms N] [--log FILE]\n"
    "             [--manual]\n"
    "\n"
    "Plays a KT-family total station on a serial port, for trying ktlink without an instrument.\n"
    "  --type T        the instrument: KT40 and KT20 (KT40 frame set), KT20_KT40 and KT85R\n"
    "                  (KT20_KT40 frame set), KT90 (job commands)\n"
    "  --port NAME     a serial port (a USB adapter, or one end of a virtual pair), 8N1\n"
    "  --pty           a pseudo-terminal (Linux); the first line printed is \"port: /dev/pts/N\",\n"
    "                  the port name to give ktlink\n"
    "  --points FILE   coordinate points to send, in the format of the file's suffix (ndad, txt,\n"
    "                  csv, edad, ndat, gdat, svf, pts, dxf)\n"
    "  --measured FILE KT20_KT40/KT85R: a job of stations, backsights and measured points to send,\n"
    "                  one observation line each (see the README)\n"
    "  --jobs DIR      KT90: the job folders the instrument holds; uploads are stored there\n"
    "  --out FILE      where points that ktlink sends are written, in the format of the suffix;\n"
    "                  default: standard output, one name,code,N,E,Z line each\n"
    "  --baud N        baud rate of --port (default as ktlink's: KT40 9600, KT20_KT40 and KT85R\n"
    "                  1200, KT90 19200)\n"
    "  --delay-ms N    pause before each further record the instrument sends (default 0)\n"
    "  --log FILE      every byte both ways, with time, direction, hex and text\n"
    "  --manual        KT20/KT40 types: offer the start only after Enter, like the instrument's\n"
    "                  send key, instead of at once\n"
    "\n"
    "The KT20/KT40 types offer their start frame every 1.5 s until ktlink answers; after a\n"
    "completed send (or with --manual), Enter on standard input offers it again. \"noise N\" on\n"
    "standard input writes N random bytes to the line. Ctrl-C ends ktsim.\n"
    "Exit status: 0 ended by Ctrl-C; 1 a port or file failed; 2 wrong usage.\n";

namespace
{

const QStringList kTypes = {"KT40", "KT20", "KT20_KT40", "KT85R", "KT90"};
const int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

bool number_option(const QString& text, int* value)
{
    bool ok = false;
    *value = text.toInt(&ok);
    return ok && *value >= 0;
}

} // namespace

bool parse_sim_options(const QStringList& args, SimOptions* options, QString* error, bool* help)
{
    *help = false;
    struct Valued {
        const char* name;
        QString* target;
    };
    QString baud, delay;
    const Valued valued[] = {
        {"--type", &options->type},         {"--port", &options->port}, {"--points", &options->points},
        {"--measured", &options->measured}, {"--jobs", &options->jobs}, {"--out", &options->out},
        {"--log", &options->log},           {"--baud", &baud},          {"--delay-ms", &delay}};
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            *help = true;
            return true;
        }
        if (arg == "--pty" || arg == "--manual") {
            (arg == "--pty" ? options->pty : options->manual) = true;
            continue;
        }
        bool known = false;
        for (const Valued& v : valued) {
            if (arg != QLatin1String(v.name))
                continue;
            if (i + 1 >= args.size()) {
                *error = arg + " needs a value";
                return false;
            }
            *v.target = args[++i];
            known = true;
        }
        if (!known) {
            *error = "unknown argument " + arg;
            return false;
        }
    }
    if (!kTypes.contains(options->type)) {
        *error = options->type.isEmpty() ? "--type is missing" : "unknown type " + options->type;
        return false;
    }
    if (options->pty == !options->port.isEmpty()) {
        *error = "give one of --port NAME and --pty";
        return false;
    }
    const bool kt90 = options->type == "KT90";
    const bool observation_set = kt2040::frame_set_of(options->type) == kt2040::FrameSet::Kt20Kt40;
    if (kt90 && (!options->points.isEmpty() || !options->measured.isEmpty() || !options->out.isEmpty())) {
        *error = "KT90 holds jobs: use --jobs DIR, not --points, --measured or --out";
        return false;
    }
    if (!kt90 && !options->jobs.isEmpty()) {
        *error = "--jobs is for KT90";
        return false;
    }
    if (kt90 && options->jobs.isEmpty()) {
        *error = "KT90 needs --jobs DIR";
        return false;
    }
    if (!options->measured.isEmpty() && (!observation_set || !options->points.isEmpty())) {
        *error = "--measured is for KT20_KT40 and KT85R, instead of --points";
        return false;
    }
    if (!options->out.isEmpty() && !PointFormat::for_suffix(QFileInfo(options->out).suffix()).is_known()) {
        *error = "--out " + options->out + ": " + PointFormat::unknown_reason(QFileInfo(options->out).suffix());
        return false;
    }
    options->baud = kt90 ? 19200 : observation_set ? 1200 : 9600;
    if (!baud.isEmpty() &&
        (!number_option(baud, &options->baud) ||
         std::find(std::begin(kBaudRates), std::end(kBaudRates), options->baud) == std::end(kBaudRates))) {
        *error = "--baud " + baud + ": not one of 1200 2400 4800 9600 19200 38400 57600 115200";
        return false;
    }
    if (!delay.isEmpty() && !number_option(delay, &options->delay_ms)) {
        *error = "--delay-ms " + delay + ": not a number of milliseconds";
        return false;
    }
    return true;
}
