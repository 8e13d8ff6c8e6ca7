// Coin3D start-up shared by header validation and the conversion driver.
#ifndef PLUGIN_COIN_SETUP_H
#define PLUGIN_COIN_SETUP_H

// SoDB, SoNodeKit and SoInteraction, in that order; repeated calls are harmless.
void InitCoin_Inventor();

#endif
