// The built-in table of known cartridges: fingerprint text, title, box-art
// picture, in this fixed order.
#include "utils.h"

const struct GameEntry GameList[NUM_GAMES] = {
    {"5855D2D7", "NoiseGen Test Prog", "138371.png"},                         // 0
    {"D9139E7A", "Alcazar - The Forgotten Fortress", "1884E4.png"},           // 1
    {"CAE74129", "Alphabet Zoo", "18C8BC.png"},                               // 2
    {"C219875E", "Amazing Bumpman", "175DD7.png"},                            // 3
    {"B99639D2", "B.C.'s Quest", "18BCB8.png"},                               // 4
    {"6B30AE1D", "B.C.'s Quest for Tires II", "44F1E5.png"},                  // 5
    {"56EB0DEA", "Blackjack Poker", "1981F7.png"},                            // 6
    {"C9DBC482", "Boulder Dash", "1B47C1.png"},                               // 7
    {"1C2C8C90", "Bump 'N' Jump", "29F63E.png"},                              // 8
    {"4A3234D", "Cosmic Crisis", "349DD3.png"},                               // 9
    {"1FBBCA19", "Cabbage Patch Kids - Adventure in the Park", "185FCF.png"}, // 10
    {"180F13F1", "Cabbage Patch Kids - Picture Show", "21F12A.png"},          // 11
    {"82EC093D", "Dance Fantasy", "9EC67.png"},                               // 12
    {"B82A2422", "Dig Dug", "2B1123.png"},                                    // 13
    {"DCB0E6C4", "Donkey Kong", "253740.png"},                                // 14
    {"2359D4A6", "Donkey Kong (ver 2)", "253740.png"},                        // 15
    {"4E089CBC", "Super Donkey Kong Jr.", "4CA754.png"},                      // 16
    {"6E3C67BD", "Facemaker", "B2A79.png"},                                   // 17
    {"5D983C3F", "Flipper Slipper", "18DD2D.png"},                            // 18
    {"E1E41A39", "It's Only Rock 'N' Roll", "170698.png"},                    // 19
    {"5DC57454", "Joust", "2D097C.png"},                                      // 20
    {"203E00B1", "Logic Levels", "18AFC2.png"},                               // 21
    {"1D45F4F4", "Memory Manor", "16412E.png"},                               // 22
    {"3858F1F0", "Meteoric Shower", "22D5D8.png"},                            // 23
    {"BC18462F", "Monkey Academy", "527432.png"},                             // 24
    {"A04C2B79", "Pac Man", "1A5EDE.png"},                                    // 25
    {"B2D42C5F", "Rock Bolt?", "1671CE.png"},                                 // 26
    {"76970D9D", "Super Action Soccer", "2FB8F2.png"},                        // 27
    {"2E372873", "Skiing", "C93BD.png"},                                      // 28
    {"83692F5F", "Slurpy", "1E4DB9.png"},                                     // 29
    {"FC2A1F4E", "Space Fury", "15A052.png"},                                 // 30
    {"E5ED4C47", "Space Invasion", "16B047.png"},                             // 31
    {"D750538D", "Star Fortress", "1800E6.png"},                              // 32
    {"41727A37", "Strike It!", "27AC20.png"},                                 // 33
    {"AC4BDDB2", "Wing War", "156AC1.png"},                                   // 34
    {"F92491B1", "2010", "359A24.png"},                                       // 35
    {"8BF8CB5", "Antartic Adventure", "18FCF3.png"},                          // 36
    {"265737A6", "Aquattack", "1730CF.png"},                                  // 37
    {"F8DA25C", "Artillery Duel", "18438D.png"},                              // 38
    {"C5E75709", "Super Action Baseball", "26512A.png"},                      // 39
    {"E440B961", "Beamrider", "171602.png"},                                  // 40
    {"79060D60", "Blockade Runner", "170582.png"},                            // 41
    {"6F6E9EFF", "Brain Strainers", "1669FB.png"},                            // 42
    {"948278D6", "Buck Rogers", "23B4A0.png"},                                // 43
    {"56244FAD", "Burgertime", "172FA0.png"},                                 // 44
    {"C1C866A4", "Campaign '84", "15B57D.png"},                               // 45
    {"D04E88E9", "Carnival", "19BC07.png"},                                   // 46
    {"55E76097", "Centipede", "19A355.png"},                                  // 47
    {"DF3961D4", "Choplifter", "197929.png"},                                 // 48
    {"E124FCDF", "Chuck Norris", "14D323.png"},                               // 49
    {"A85123A9", "Congo Bongo", "237963.png"},                                // 50
    {"E90ABB20", "Cosmic Avenger", "150B12.png"},                             // 51
    {"80048102", "Cosmo Fighter 2", "19DEDB.png"},                            // 52
    {"EFE040F2", "The Dam Busters", "32551D.png"},                            // 53
    {"53484315", "Decathlon", "19E73E.png"},                                  // 54
    {"F37A3B82", "Defender", "22F1D7.png"},                                   // 55
    {"995D5757", "Destructor", "37B9C7.png"},                                 // 56
    {"D1D5A2A7", "Donkey Kong Jr.", "18FD9C.png"},                            // 57
    {"A040A5F8", "Dr. Seuss's Fix-up the Mix-up Puzzler", "1B0CEB.png"},      // 58
    {"2F101616", "Dragonfire", "15EAF0.png"},                                 // 59
    {"A10119DD", "Dukes of Hazzard", "336C95.png"},                           // 60
    {"8A9B3BC6", "Evolution", "1A37CA.png"},                                  // 61
    {"90C3919E", "Fathom", "18ED71.png"},                                     // 62
    {"10979606", "Super Action Football", "2F0C60.png"},                      // 63
    {"AB7F30A1", "Fortune Builder", "2E087A.png"},                            // 64
    {"2181A5D2", "Fraction Fever", "CB88D.png"},                              // 65
    {"52FBF974", "Frantic Freddy", "1713BC.png"},                             // 66
    {"935EBB48", "Frenzy", "324106.png"},                                     // 67
    {"E0AAECD7", "Frogger II", "165B42.png"},                                 // 68
    {"CF05680B", "Frogger", "16B203.png"},                                    // 69
    {"D801A6ED", "Frontline", "28A000.png"},                                  // 70
    {"8EDB7075", "Galaxian", "2725FA.png"},                                   // 71
    {"311F27CB", "Gateway to Apshai", "19AE5E.png"},                          // 72
    {"8C42B41F", "Gorf", "17563A.png"},                                       // 73
    {"6BF6234F", "Grog's Revenge", "2523C6.png"},                             // 74
    {"39B11E76", "Gust Buster", "10763E.png"},                                // 75
    {"69B44E2F", "Gyruss", "178E2E.png"},                                     // 76
    {"DC7EF462", "The Heist", "263676.png"},                                  // 77
    {"736D70C2", "H.E.R.O.", "19D57D.png"},                                   // 78
    {"253AD9F", "Illusions", "18E7E8.png"},                                   // 79
    {"D4C13FF9", "James Bond", "19F36B.png"},                                 // 80
    {"330835D1", "Juke Box", "B966B.png"},                                    // 81
    {"8334D01F", "Jumpman Junior", "150EE3.png"},                             // 82
    {"1804FBB7", "Jungle Hunt", "278E76.png"},                                // 83
    {"EE5D74F1", "Keystone Kapers", "1A720B.png"},                            // 84
    {"2374A535", "Lady Bug", "1736B1.png"},                                   // 85
    {"69ABF9C4", "Learning with Leeper", "1930C3.png"},                       // 86
    {"79C8DD5F", "Linking Logic", "CBABF.png"},                               // 87
    {"16080E27", "Looping", "1D4A24.png"},                                    // 88
    {"B7DFA318", "Miner 2049ER", "2759E8.png"},                               // 89
    {"D8B6F78D", "Montezuma's Revenge", "21D29C.png"},                        // 90
    {"50859E79", "Moonsweeper", "151B2F.png"},                                // 91
    {"FAE03587", "Motocross Racer", "151E08.png"},                            // 92
    {"3EAC79DB", "Mountain King", "1086CF.png"},                              // 93
    {"B328F34E", "Mousetrap", "1C44A9.png"},                                  // 94
    {"7A68D19C", "Mr. Do's Castle", "24FBA8.png"},                            // 95
    {"432D496", "Mr. Do!", "2D538F.png"},                                     // 96
    {"AFEF4024", "Nova Blast", "20149D.png"},                                 // 97
    {"9E52786F", "Oil's Well", "1478E0.png"},                                 // 98
    {"B109B376", "Omega Race", "18EC8D.png"},                                 // 99
    {"4103C5D4", "One on One", "2BAED8.png"},                                 // 100
    {"BECBF978", "Pepper II", "146121.png"},                                  // 101
    {"327D2099", "Pitfall II - Lost Caverns", "1A389B.png"},                  // 102
    {"D4C0B58E", "Pitfall", "1727AC.png"},                                    // 103
    {"EEB50296", "Pitstop", "17BD67.png"},                                    // 104
    {"336C5F30", "Popeye", "197BFB.png"},                                     // 105
    {"A27A550A", "Q'Bert II", "1AD875.png"},                                  // 106
    {"322F95DB", "Q'Bert", "CD9DF.png"},                                      // 107
    {"DEC464D8", "Quest for Qintana Roo", "1B3DF1.png"},                      // 108
    {"FB2C21D3", "River Raid", "1AD5FB.png"},                                 // 109
    {"8122F59F", "Robin Hood", "1A7B47.png"},                                 // 110
    {"D78B06A3", "Roc 'N Rope", "2436C9.png"},                                // 111
    {"1A9FE89F", "Rocky - Super Action Boxing", "30ABCB.png"},                // 112
    {"C3953551", "Rolloverture", "15198A.png"},                               // 113
    {"16C49BEB", "Tapper", "336944.png"},                                     // 114
    {"F7B4FAFD", "Sammy Lightfoot", "1AA905.png"},                            // 115
    {"F956EBEA", "Super Controller Tester", "3804C6.png"},                    // 116
    {"9FA7932", "Sector Alpha", "306111.png"},                                // 117
    {"9473C1B7", "Sewer Sam", "249B29.png"},                                  // 118
    {"8F6C3F59", "Sir Lancelot", "149D8B.png"},                               // 119
    {"8C5A9969", "Slither", "1ADAE2.png"},                                    // 120
    {"B12479DA", "Smurf Paint 'N Play Workshop", "238693.png"},               // 121
    {"9B1F9304", "Smurf Rescue", "191C14.png"},                               // 122
    {"FCA9D619", "Space Panic", "170367.png"},                                // 123
    {"F2FBF7EA", "Spectron", "1C1A0F.png"},                                   // 124
    {"E4E86BB0", "Spy Hunter", "31AB65.png"},                                 // 125
    {"98EB3850", "Squish 'em Sam", "1C3FB3.png"},                             // 126
    {"3C319847", "Super Sketch", "C65ED.png"},                                // 127
    {"6EA8C70F", "Star Trek", "278D03.png"},                                  // 128
    {"C237A28D", "Star Wars", "170E40.png"},                                  // 129
    {"6EF4F31F", "Subroc", "30B5BF.png"},                                     // 130
    {"72E38416", "Super Cobra", "D05FE.png"},                                 // 131
    {"1C37BFAA", "Super Cross Force", "1A179B.png"},                          // 132
    {"3923BA82", "Tarzan", "2816EB.png"},                                     // 133
    {"6DEF620E", "Telly Turtle", "1E297D.png"},                               // 134
    {"A2A65D43", "Tournament Tennis", "193407.png"},                          // 135
    {"F19CE4AC", "Threshold", "1C5FFF.png"},                                  // 136
    {"8CFA5517", "Time Pilot", "1BF9A1.png"},                                 // 137
    {"D50DA03E", "Tomarc the Barbarian", "18690C.png"},                       // 138
    {"2FEC6193", "Turbo", "188017.png"},                                      // 139
    {"286F4FC6", "Tutankham", "1714C4.png"},                                  // 140
    {"55FB89AB", "Up'n Down", "198E10.png"},                                  // 141
    {"A0BCAFF5", "Venture", "188808.png"},                                    // 142
    {"20A6F121", "Victory", "3034D4.png"},                                    // 143
    {"88D34944", "War Games", "27C34B.png"},                                  // 144
    {"1228A69", "War Room", "4C3128.png"},                                    // 145
    {"4F5DE83D", "ZAXXON", "2418CF.png"},                                     // 146
    {"A3878A0E", "Zenji", "1CC6E1.png"},                                      // 147
    {"D5827475", "Tank Wars", "12EBCA.png"},                                  // 148
    {"DC0588BA", "Wizard of ID's Math", "17D76A.png"},                        // 149
    {"A389A3D8", "Word Feud", "15441C.png"},                                  // 150
    {"4E04681", "The Yolk's on You (Proto)", "190A35.png"},                   // 151
    {"A22BB532", "Tunnels & Trolls (Demo)", "222243.png"},                    // 152
    {"7A0574DD", "Porky's (Proto)", "180CA1.png"},                            // 153
    {"4203D124", "M.A.S.H. (Proto)", "1AD162.png"},                           // 154
    {"EAC99166", "Killer Instinct (PD)", "7F5A0.png"},                        // 155
    {"73ADEC27", "Kevtris (PD)", "15592E.png"},                               // 156
};
