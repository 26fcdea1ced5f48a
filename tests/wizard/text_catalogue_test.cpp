#include "wizard/text_catalogue.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kDevice = "Satellite de la KST90 SII";

// The catalogue's formats are data, so the check on literal formats can't
// see them; the placeholder test below does that job.
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, args...);
  return buffer;
}

// Windows-1252 to UTF-8 for the letters the texts use (all in the Latin-1
// block); bytes 0x80-0x9F become U+FFFD so a stray one shows as a mismatch.
std::string ToUtf8(const char* text) {
  std::string out;
  for (const char* p = text; *p != '\0'; ++p) {
    const auto byte = static_cast<unsigned char>(*p);
    if (byte < 0x80) {
      out += *p;
    } else if (byte < 0xA0) {
      out += "\xEF\xBF\xBD";
    } else {
      out += static_cast<char>(0xC0 | (byte >> 6));
      out += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return out;
}

TEST(TextCatalogue, FormatsReadAsShownInBothLanguages) {
  const auto both = [](const TextPair& pair, auto... args) {
    return std::vector<std::string>{Format(pair[0], args...), Format(pair[1], args...)};
  };
  const struct {
    const char* label;
    std::vector<std::string> got;
    const char* french;
    const char* english;
  } cases[] = {
      {"version title", both(TitleUpdateVersion, 3, 5, kDevice),
       "Mise \xE0 jour V3.5 de votre Satellite de la KST90 SII",
       "Update V3.5 of Satellite de la KST90 SII"},
      {"step counter", both(StepCounter, 3, 10), "Etape n\xB0 3 sur 10", "Step n\xB0 3 of 10"},
      {"serial number padded", both(CheckSerialNumber, 400000000UL),
       "Le num\xE9ro de s\xE9rie de l'appareil est le : 0400000000",
       "Serial number of device is : 0400000000"},
      {"largest serial number", both(CheckSerialNumber, 4294967295UL),
       "Le num\xE9ro de s\xE9rie de l'appareil est le : 4294967295",
       "Serial number of device is : 4294967295"},
      {"progress two of three", both(ProgrammingProgress, 2.0 / 3.0 * 100),
       "Avancement de la mise \xE0 jour : 66.7 %", "Update progression : 66.7 %"},
      {"progress at start", both(ProgrammingProgress, 0.0),
       "Avancement de la mise \xE0 jour : 0.0 %", "Update progression : 0.0 %"},
      {"remaining time", both(WaitRemainingTime, kDevice, 28.5),
       "Le temps restant pour allumer votre Satellite de la KST90 SII est de 28.5 s.",
       "The remaining time to turn your Satellite de la KST90 SII is 28.5 s."},
      {"English transmission names no device", both(ProgrammingTransmission, kDevice),
       "Transmission du programme \xE0 votre Satellite de la KST90 SII", "Update in progess"},
      {"welcome title ends with a blank", both(TitleWelcome, kDevice),
       "Mise \xE0 jour de votre Satellite de la KST90 SII ",
       "Update foreword the Satellite de la KST90 SII "},
      {"variant refusal uses one of two names", both(MsgWrongVariant, kDevice, kDevice),
       "L'appareil n'est pas pour cette version de la mise \xE0 jour.\n\nVoulez vous faire la "
       "mise \xE0 jour sur d'autre Satellite de la KST90 SII ?",
       "This version of is not for this device.Do you want updating another Satellite de la "
       "KST90 SII?"},
      {"empty version line", both(CheckVersionBlank), "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.got[0], c.french) << c.label;
    EXPECT_EQ(c.got[1], c.english) << c.label;
  }
}

TEST(TextCatalogue, EveryTextReadsAsWrittenInUtf8) {
  const struct {
    const char* key;
    const TextPair& pair;
    const char* french;
    const char* english;
  } texts[] = {
      {"LanguageNames", LanguageNames, "Français", "English"},
      {"TitleUpdateVersion", TitleUpdateVersion, "Mise à jour V%i.%i de votre %s",
       "Update V%i.%i of %s"},
      {"StepCounter", StepCounter, "Etape n° %i sur %i", "Step n° %i of %i"},
      {"ButtonQuit", ButtonQuit, "&Quitter", "E&xit"},
      {"ButtonPrevious", ButtonPrevious, "&Précédent", "&Before"},
      {"ButtonNext", ButtonNext, "&Suivant", "&Next"},
      {"ButtonConnect", ButtonConnect, "&Connexion", "&Connection"},
      {"ButtonAbout", ButtonAbout, "&A propos", "&About"},
      {"ButtonCancel", ButtonCancel, "&Annuler", "&Cancel"},
      {"ButtonYes", ButtonYes, "&Oui", "&Yes"},
      {"ButtonNo", ButtonNo, "&Non", "&No"},
      {"TitleUpdateDevice", TitleUpdateDevice, "Mise à jour du %s", "Update of your %s"},
      {"LanguageHeading", LanguageHeading, "Choix De la Langue", "Choice Of Language"},
      {"LanguagePrompt", LanguagePrompt, "Selectionnez la langue de votre choix parmi la liste :",
       "Select your language of choice among the list :"},
      {"WelcomeBenefits", WelcomeBenefits,
       "Cette mise à jour permet de bénéficier pleinement des dernières évolutions.",
       "This update allows you to take full advantage of recent developments."},
      {"TitleWelcome", TitleWelcome, "Mise à jour de votre %s ", "Update foreword the %s "},
      {"WelcomeGreeting", WelcomeGreeting, "Bonjour,", "Hello"},
      {"WelcomeLatestUpdate", WelcomeLatestUpdate,
       "Vous allez effectuer la dernière mise à jour en date sur votre %s.",
       "You are doing the last update of your %s."},
      {"WelcomePerformance", WelcomePerformance,
       "Celle-ci optimise les performances de votre appareil.",
       "It improves the performance of your device."},
      {"TitlePreparation", TitlePreparation, "Préparation de votre %s pour la mise à jour",
       "Preparation of %s for the update"},
      {"PreparationConnectCable", PreparationConnectCable,
       "Connecter le cordon de connexion PC sur votre %s",
       "To connect the serial cable and the pile to %s"},
      {"TitleConnection", TitleConnection, "Connexion de votre %s à l'ordinateur",
       "Connection of %s to the PC."},
      {"ConnectionConnectCable", ConnectionConnectCable,
       "Connecter le cordon de connexion à votre ordinateur",
       "To connect the serial cable to computer"},
      {"TitlePortChoice", TitlePortChoice, "Choix du port de communication",
       "Choice the serial communication"},
      {"PortChoicePrompt", PortChoicePrompt, "Sélectionner le port série connecté",
       "Select serial port"},
      {"NoSerialPort", NoSerialPort, "Pas de port serie", "No serial port"},
      {"TitleCheckAndLaunch", TitleCheckAndLaunch, "Vérification et lancement de la mise à jour.",
       "Checking and launching of the update "},
      {"LaunchCheckConnected", LaunchCheckConnected,
       "Vérifier que votre %s est bien connecté à l'ordinateur.",
       "Check your %s is connected to the computer."},
      {"LaunchSwitchOnAfterConnect", LaunchSwitchOnAfterConnect,
       "Après avoir cliqué sur <Connexion>, mettez en marche votre %s.",
       "After clicking <Connection> here, start your %s."},
      {"LaunchClickConnect", LaunchClickConnect,
       "Cliquer sur <Connexion> et mettre en marche votre %s.",
       "Click <Connection> here and start your %s."},
      {"TitleWaitConnection", TitleWaitConnection, "Attente de la Connexion",
       "Attent of the Connection"},
      {"WaitSwitchOn", WaitSwitchOn, "Mettre en marche votre %s.", "Turn on your %s."},
      {"WaitRemainingTime", WaitRemainingTime,
       "Le temps restant pour allumer votre %s est de %.1f s.",
       "The remaining time to turn your %s is %.1f s."},
      {"TitleDeviceCheck", TitleDeviceCheck, "Vérification de l'appareil",
       "Checking of the device"},
      {"CheckModelCorrect", CheckModelCorrect, "Le type de l'appareil est le bon.",
       "Correct device model."},
      {"CheckSerialNumber", CheckSerialNumber, "Le numéro de série de l'appareil est le : %010lu",
       "Serial number of device is : %010lu"},
      {"CheckVersionBlank", CheckVersionBlank, "", ""},
      {"CheckPreparingTransmission", CheckPreparingTransmission,
       "Préparation pour la transmission du programme", "Preparing to transmit the program."},
      {"TitleProgramming", TitleProgramming, "Programmation de votre %s", "Programming of %s"},
      {"ProgrammingProgress", ProgrammingProgress, "Avancement de la mise à jour : %.1f %%",
       "Update progression : %.1f %%"},
      {"ProgrammingTransmission", ProgrammingTransmission, "Transmission du programme à votre %s",
       "Update in progess"},
      {"TitleUpdateSucceeded", TitleUpdateSucceeded, "Mise à jour réussie", "Successful update"},
      {"SuccessUpdateAnother", SuccessUpdateAnother,
       "Voulez vous faire la mise à jour sur d'autre %s ?", "Do you want update another %s?"},
      {"MsgConnectionFailed", MsgConnectionFailed,
       "Echec à la connexion :\n   - Soit la %s n'a pas été connecté à l'ordinateur.\n  - Soit la "
       "%s n'a pas été mis en marche. \n  - Soit la port série sélectionné ne correspond pas au "
       "port connecté.\n\n  Dans ce dernier cas, sélectionner un autre port série dans la liste.\n",
       "Connect failled :\n\r  - Check the connection of the cordon.\n  - Check, if %s povered "
       "on.\n  - Check if the  selected serial port is corresponding to the connected serial "
       "port.\n  In that last case, select another serial port in the list.\n"},
      {"MsgWrongDevice", MsgWrongDevice,
       "L'appareil n'est pas un appareil (%s) pour cette mise à jour .\n\nVoulez vous faire la "
       "mise à jour sur d'autre %s ?",
       "The device is  not a %s for this update.\n\nDo you want updating another %s?"},
      {"MsgWrongVariant", MsgWrongVariant,
       "L'appareil n'est pas pour cette version de la mise à jour.\n\nVoulez vous faire la mise à "
       "jour sur d'autre %s ?",
       "This version of is not for this device.Do you want updating another %s?"},
      {"MsgInvalidSerialNumber", MsgInvalidSerialNumber,
       "Le numéro de série de l'appareil n'est pas valide.\n\nContacter notre service technique "
       "(tél. : +33 1 99 00 42 42.\n\nVoulez vous faire la mise à jour sur d'autre %s ?",
       "Invalid serial number.\n\n\rContact our technical support on "
       "support@voranex.example.\n\n\rDo you want updating another %s?"},
      {"MsgAlreadyUpdated", MsgAlreadyUpdated,
       "Votre %s a déjà cette mise à jour.\n\nVoulez vous faire la mise à jour sur d'autre %s ?",
       "Update already installed\n\rDo you want updating another %s?"},
      {"MsgNewerInstalled", MsgNewerInstalled,
       "Votre %s a une mise à jour plus récente.\n\nVoulez vous faire la mise à jour sur d'autre "
       "%s ?",
       "Your %s has a more recently installed.Do you want updating another %s?"},
      {"MsgIncompatibleFirmware", MsgIncompatibleFirmware,
       "L'appareil %s ne peut pas être mis à jour. \nLe logiciel de l'appareil  a un version du "
       "logiciel incopmpatible avec la mise à jour.\n\nContacter notre service technique (tél. : "
       "+33 1 99 00 42 42.\n\nVoulez vous faire la mise à jour sur d'autre %s ?",
       "The %s cannot updated\nThe firmware of the device is not compatible with the "
       "update.\n\rContact our technical support on support@voranex.example.\n\n\rDo you want "
       "updating another %s?"},
      {"MsgTransmissionFailed", MsgTransmissionFailed,
       "Un Problème de transmission s'est produit.\n\nPour essayer une nouvelle fois, vous devez "
       "d'abord : \n   Déconnecter puis reconnecter la pile et faire une nouvelle "
       "tentative.\n\nVoulez vous essayer de nouveau ?",
       "Transmission failure is happenned.\n\nFor trying again, first you must power off then "
       "power on the deviceWould you try again?"},
  };
  for (const auto& t : texts) {
    EXPECT_EQ(ToUtf8(t.pair[0]), t.french) << t.key;
    EXPECT_EQ(ToUtf8(t.pair[1]), t.english) << t.key;
  }
}

// The conversions of a format, in order: 's', 'i', 'f' or 'u' (%010lu).
std::string Conversions(const char* format) {
  std::string kinds;
  for (const char* p = format; *p != '\0'; ++p) {
    if (*p != '%') continue;
    ++p;
    if (*p == '%') continue;
    while (*p != '\0' && std::string("sifu").find(*p) == std::string::npos) ++p;
    if (*p == '\0') return kinds + '?';
    kinds += *p;
  }
  return kinds;
}

TEST(TextCatalogue, NoFormatNeedsMoreThanItsCallersPass) {
  // What the callers pass, in order; a format may use a prefix of it.
  const struct {
    const char* key;
    const TextPair& pair;
    const char* passed;
  } uses[] = {
      {"TitleUpdateVersion", TitleUpdateVersion, "iis"},
      {"StepCounter", StepCounter, "ii"},
      {"TitleUpdateDevice", TitleUpdateDevice, "s"},
      {"TitleWelcome", TitleWelcome, "s"},
      {"WelcomeLatestUpdate", WelcomeLatestUpdate, "s"},
      {"TitlePreparation", TitlePreparation, "s"},
      {"PreparationConnectCable", PreparationConnectCable, "s"},
      {"TitleConnection", TitleConnection, "s"},
      {"LaunchCheckConnected", LaunchCheckConnected, "s"},
      {"LaunchSwitchOnAfterConnect", LaunchSwitchOnAfterConnect, "s"},
      {"LaunchClickConnect", LaunchClickConnect, "s"},
      {"WaitSwitchOn", WaitSwitchOn, "s"},
      {"WaitRemainingTime", WaitRemainingTime, "sf"},
      {"CheckSerialNumber", CheckSerialNumber, "u"},
      {"TitleProgramming", TitleProgramming, "s"},
      {"ProgrammingProgress", ProgrammingProgress, "f"},
      {"ProgrammingTransmission", ProgrammingTransmission, "s"},
      {"SuccessUpdateAnother", SuccessUpdateAnother, "s"},
      {"MsgConnectionFailed", MsgConnectionFailed, "ss"},
      {"MsgWrongDevice", MsgWrongDevice, "ss"},
      {"MsgWrongVariant", MsgWrongVariant, "ss"},
      {"MsgInvalidSerialNumber", MsgInvalidSerialNumber, "s"},
      {"MsgAlreadyUpdated", MsgAlreadyUpdated, "ss"},
      {"MsgNewerInstalled", MsgNewerInstalled, "ss"},
      {"MsgIncompatibleFirmware", MsgIncompatibleFirmware, "ss"},
      // Texts shown as stored: no placeholder at all.
      {"ButtonQuit", ButtonQuit, ""},
      {"ButtonPrevious", ButtonPrevious, ""},
      {"ButtonNext", ButtonNext, ""},
      {"ButtonConnect", ButtonConnect, ""},
      {"ButtonAbout", ButtonAbout, ""},
      {"ButtonCancel", ButtonCancel, ""},
      {"ButtonYes", ButtonYes, ""},
      {"ButtonNo", ButtonNo, ""},
      {"LanguageHeading", LanguageHeading, ""},
      {"LanguagePrompt", LanguagePrompt, ""},
      {"WelcomeBenefits", WelcomeBenefits, ""},
      {"WelcomeGreeting", WelcomeGreeting, ""},
      {"WelcomePerformance", WelcomePerformance, ""},
      {"ConnectionConnectCable", ConnectionConnectCable, ""},
      {"TitlePortChoice", TitlePortChoice, ""},
      {"PortChoicePrompt", PortChoicePrompt, ""},
      {"NoSerialPort", NoSerialPort, ""},
      {"TitleCheckAndLaunch", TitleCheckAndLaunch, ""},
      {"TitleWaitConnection", TitleWaitConnection, ""},
      {"TitleDeviceCheck", TitleDeviceCheck, ""},
      {"CheckModelCorrect", CheckModelCorrect, ""},
      {"CheckVersionBlank", CheckVersionBlank, ""},
      {"CheckPreparingTransmission", CheckPreparingTransmission, ""},
      {"TitleUpdateSucceeded", TitleUpdateSucceeded, ""},
      {"MsgTransmissionFailed", MsgTransmissionFailed, ""},
      {"LanguageNames", LanguageNames, ""},
  };
  for (const auto& use : uses) {
    for (int language = 0; language < 2; ++language) {
      const std::string kinds = Conversions(use.pair[language]);
      EXPECT_EQ(std::string(use.passed).substr(0, kinds.size()), kinds)
          << use.key << " language " << language;
    }
  }
}

}  // namespace
