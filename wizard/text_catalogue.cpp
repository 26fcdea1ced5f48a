#include "wizard/text_catalogue.h"

// Non-ASCII letters are Windows-1252 escapes; a literal is split after an
// escape that a hex digit follows, so the escape stops where it should.

const TextPair LanguageNames = {
    "Fran\xE7"
    "ais",
    "English"};

const TextPair TitleUpdateVersion = {"Mise \xE0 jour V%i.%i de votre %s", "Update V%i.%i of %s"};

const TextPair StepCounter = {"Etape n\xB0 %i sur %i", "Step n\xB0 %i of %i"};

const TextPair ButtonQuit = {"&Quitter", "E&xit"};

const TextPair ButtonPrevious = {
    "&Pr\xE9"
    "c\xE9"
    "dent",
    "&Before"};

const TextPair ButtonNext = {"&Suivant", "&Next"};

const TextPair ButtonConnect = {"&Connexion", "&Connection"};

const TextPair ButtonAbout = {"&A propos", "&About"};

const TextPair ButtonCancel = {"&Annuler", "&Cancel"};

const TextPair ButtonYes = {"&Oui", "&Yes"};

const TextPair ButtonNo = {"&Non", "&No"};

const TextPair TitleUpdateDevice = {"Mise \xE0 jour du %s", "Update of your %s"};

const TextPair LanguageHeading = {"Choix De la Langue", "Choice Of Language"};

const TextPair LanguagePrompt = {"Selectionnez la langue de votre choix parmi la liste :",
                                 "Select your language of choice among the list :"};

const TextPair WelcomeBenefits = {
    "Cette mise \xE0 jour permet de b\xE9n\xE9"
    "ficier pleinement des derni\xE8res \xE9volutions.",
    "This update allows you to take full advantage of recent developments."};

const TextPair TitleWelcome = {"Mise \xE0 jour de votre %s ", "Update foreword the %s "};

const TextPair WelcomeGreeting = {"Bonjour,", "Hello"};

const TextPair WelcomeLatestUpdate = {
    "Vous allez effectuer la derni\xE8re mise \xE0 jour en date sur votre %s.",
    "You are doing the last update of your %s."};

const TextPair WelcomePerformance = {"Celle-ci optimise les performances de votre appareil.",
                                     "It improves the performance of your device."};

const TextPair TitlePreparation = {"Pr\xE9paration de votre %s pour la mise \xE0 jour",
                                   "Preparation of %s for the update"};

const TextPair PreparationConnectCable = {"Connecter le cordon de connexion PC sur votre %s",
                                          "To connect the serial cable and the pile to %s"};

const TextPair TitleConnection = {"Connexion de votre %s \xE0 l'ordinateur",
                                  "Connection of %s to the PC."};

const TextPair ConnectionConnectCable = {"Connecter le cordon de connexion \xE0 votre ordinateur",
                                         "To connect the serial cable to computer"};

const TextPair TitlePortChoice = {"Choix du port de communication",
                                  "Choice the serial communication"};

const TextPair PortChoicePrompt = {"S\xE9lectionner le port s\xE9rie connect\xE9",
                                   "Select serial port"};

const TextPair NoSerialPort = {"Pas de port serie", "No serial port"};

const TextPair TitleCheckAndLaunch = {"V\xE9rification et lancement de la mise \xE0 jour.",
                                      "Checking and launching of the update "};

const TextPair LaunchCheckConnected = {
    "V\xE9rifier que votre %s est bien connect\xE9 \xE0 l'ordinateur.",
    "Check your %s is connected to the computer."};

const TextPair LaunchSwitchOnAfterConnect = {
    "Apr\xE8s avoir cliqu\xE9 sur <Connexion>, mettez en marche votre %s.",
    "After clicking <Connection> here, start your %s."};

const TextPair LaunchClickConnect = {"Cliquer sur <Connexion> et mettre en marche votre %s.",
                                     "Click <Connection> here and start your %s."};

const TextPair TitleWaitConnection = {"Attente de la Connexion", "Attent of the Connection"};

const TextPair WaitSwitchOn = {"Mettre en marche votre %s.", "Turn on your %s."};

const TextPair WaitRemainingTime = {"Le temps restant pour allumer votre %s est de %.1f s.",
                                    "The remaining time to turn your %s is %.1f s."};

const TextPair TitleDeviceCheck = {"V\xE9rification de l'appareil", "Checking of the device"};

const TextPair CheckModelCorrect = {"Le type de l'appareil est le bon.", "Correct device model."};

const TextPair CheckSerialNumber = {"Le num\xE9ro de s\xE9rie de l'appareil est le : %010lu",
                                    "Serial number of device is : %010lu"};

const TextPair CheckVersionBlank = {"", ""};

const TextPair CheckPreparingTransmission = {"Pr\xE9paration pour la transmission du programme",
                                             "Preparing to transmit the program."};

const TextPair TitleProgramming = {"Programmation de votre %s", "Programming of %s"};

const TextPair ProgrammingProgress = {"Avancement de la mise \xE0 jour : %.1f %%",
                                      "Update progression : %.1f %%"};

const TextPair ProgrammingTransmission = {"Transmission du programme \xE0 votre %s",
                                          "Update in progess"};

const TextPair TitleUpdateSucceeded = {"Mise \xE0 jour r\xE9ussie", "Successful update"};

const TextPair SuccessUpdateAnother = {"Voulez vous faire la mise \xE0 jour sur d'autre %s ?",
                                       "Do you want update another %s?"};

const TextPair MsgConnectionFailed = {
    "Echec \xE0 la connexion :\n"
    "   - Soit la %s n'a pas \xE9t\xE9 connect\xE9 \xE0 l'ordinateur.\n"
    "  - Soit la %s n'a pas \xE9t\xE9 mis en marche. \n"
    "  - Soit la port s\xE9rie s\xE9lectionn\xE9 ne correspond pas au port connect\xE9.\n"
    "\n"
    "  Dans ce dernier cas, s\xE9lectionner un autre port s\xE9rie dans la liste.\n",
    "Connect failled :\n"
    "\r  - Check the connection of the cordon.\n"
    "  - Check, if %s povered on.\n"
    "  - Check if the  selected serial port is corresponding to the connected serial port.\n"
    "  In that last case, select another serial port in the list.\n"};

const TextPair MsgWrongDevice = {
    "L'appareil n'est pas un appareil (%s) pour cette mise \xE0 jour .\n"
    "\n"
    "Voulez vous faire la mise \xE0 jour sur d'autre %s ?",
    "The device is  not a %s for this update.\n"
    "\n"
    "Do you want updating another %s?"};

const TextPair MsgWrongVariant = {
    "L'appareil n'est pas pour cette version de la mise \xE0 jour.\n"
    "\n"
    "Voulez vous faire la mise \xE0 jour sur d'autre %s ?",
    "This version of is not for this device.Do you want updating another %s?"};

const TextPair MsgInvalidSerialNumber = {
    "Le num\xE9ro de s\xE9rie de l'appareil n'est pas valide.\n"
    "\n"
    "Contacter notre service technique (t\xE9l. : +33 1 99 00 42 42.\n"
    "\n"
    "Voulez vous faire la mise \xE0 jour sur d'autre %s ?",
    "Invalid serial number.\n"
    "\n"
    "\rContact our technical support on support@voranex.example.\n"
    "\n"
    "\rDo you want updating another %s?"};

const TextPair MsgAlreadyUpdated = {
    "Votre %s a d\xE9j\xE0 cette mise \xE0 jour.\n"
    "\n"
    "Voulez vous faire la mise \xE0 jour sur d'autre %s ?",
    "Update already installed\n"
    "\rDo you want updating another %s?"};

const TextPair MsgNewerInstalled = {
    "Votre %s a une mise \xE0 jour plus r\xE9"
    "cente.\n"
    "\n"
    "Voulez vous faire la mise \xE0 jour sur d'autre %s ?",
    "Your %s has a more recently installed.Do you want updating another %s?"};

const TextPair MsgIncompatibleFirmware = {
    "L'appareil %s ne peut pas \xEAtre mis \xE0 jour. \n"
    "Le logiciel de l'appareil  a un version du logiciel incopmpatible avec la mise \xE0 jour.\n"
    "\n"
    "Contacter notre service technique (t\xE9l. : +33 1 99 00 42 42.\n"
    "\n"
    "Voulez vous faire la mise \xE0 jour sur d'autre %s ?",
    "The %s cannot updated\n"
    "The firmware of the device is not compatible with the update.\n"
    "\rContact our technical support on support@voranex.example.\n"
    "\n"
    "\rDo you want updating another %s?"};

const TextPair MsgTransmissionFailed = {
    "Un Probl\xE8me de transmission s'est produit.\n"
    "\n"
    "Pour essayer une nouvelle fois, vous devez d'abord : \n"
    "   D\xE9"
    "connecter puis reconnecter la pile et faire une nouvelle tentative.\n"
    "\n"
    "Voulez vous essayer de nouveau ?",
    "Transmission failure is happenned.\n"
    "\n"
    "For trying again, first you must power off then power on the deviceWould you try again?"};
