// The calendar reader: any bytes are either refused with a French reason or
// read, and what is read names a real date and a real time of day. libical's
// own complaints about a value are counted, never fatal.
#include "commun_fuzz.hpp"
#include "ical/import_ical.hpp"

using namespace quorvel;
using namespace quorvel::fuzz;
using namespace std::chrono;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const ical::Lecture l = ical::lit_calendrier(octets(data, size), 2026y / December / 7);
        VERIFIE(l.illisibles >= 0 && l.autres >= 0);
        for (const ical::Element& e : l.elements) {
            VERIFIE(e.jour.ok());
            VERIFIE(e.heure >= -1 && e.heure <= 23);
            VERIFIE(e.minute >= 0 && e.minute <= 59);
        }
    } catch (const ical::FichierRefuse& e) {
        VERIFIE(!e.message().empty());
    }
    return 0;
}
